#pragma once
// The main window's boxes. Once the window has been asked to close (the close
// box, a log-off, another program's close request) while one of its
// operations was still going on, no further box is shown: a question counts
// as answered No, even one that was open when the request came, so that the
// operation ends without writing anything the user did not confirm.
#include <optional>
#include <string>

#include "platform/Dialogs.h"

class ClosingDialogs final : public IDialogs {
 public:
  ClosingDialogs(IDialogs& boxes, const bool& closing) : boxes_(boxes), closing_(closing) {}

  void Message(const std::string& text) override {
    if (!closing_) boxes_.Message(text);
  }
  void Error(const std::string& text) override {
    if (!closing_) boxes_.Error(text);
  }
  void Warn(const std::string& text) override {
    if (!closing_) boxes_.Warn(text);
  }
  bool Confirm(const std::string& text) override { return !closing_ && boxes_.Confirm(text) && !closing_; }
  bool AskWarning(const std::string& text) override {
    return !closing_ && boxes_.AskWarning(text) && !closing_;
  }
  std::optional<std::string> BrowseForFolder(const std::string& prompt, const std::string& title) override {
    if (closing_) return std::nullopt;
    std::optional<std::string> folder = boxes_.BrowseForFolder(prompt, title);
    return closing_ ? std::nullopt : folder;
  }

 private:
  IDialogs& boxes_;
  const bool& closing_;
};
