#pragma once
// Dialogs that answer from a script and record every text shown.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

class FakeDialogs : public IDialogs {
 public:
  enum class Kind { Message, Error, Confirm, Warning, Browse, Warn };
  struct Shown {
    Kind kind;
    std::string text;
    bool operator==(const Shown&) const = default;
  };

  // Answers to the next Yes/No questions (confirmations and warnings), in
  // order; an unscripted question is answered No.
  std::deque<bool> confirmAnswers;
  // Folders the next browse dialogs return; nothing means the user cancelled.
  std::deque<std::optional<std::string>> browseAnswers;
  std::vector<Shown> shown;
  std::vector<std::string> browseTitles;
  // Runs while each box is up, as a real box's own message loop would run
  // whatever reaches the program meanwhile (posted messages, timers, a close
  // request); the Windows tests pump the message queue here.
  std::function<void(const Shown&)> whileShown;

  void Message(const std::string& text) override { Show({Kind::Message, text}); }
  void Error(const std::string& text) override { Show({Kind::Error, text}); }
  void Warn(const std::string& text) override { Show({Kind::Warn, text}); }
  bool Confirm(const std::string& text) override { return Ask(Kind::Confirm, text); }
  bool AskWarning(const std::string& text) override { return Ask(Kind::Warning, text); }
  std::optional<std::string> BrowseForFolder(const std::string& prompt, const std::string& title) override {
    browseTitles.push_back(title);
    Show({Kind::Browse, prompt});
    if (browseAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = browseAnswers.front();
    browseAnswers.pop_front();
    return answer;
  }

  std::vector<std::string> TextsOf(Kind kind) const {
    std::vector<std::string> texts;
    for (const Shown& item : shown)
      if (item.kind == kind) texts.push_back(item.text);
    return texts;
  }

 private:
  void Show(const Shown& box) {
    shown.push_back(box);
    if (whileShown) whileShown(box);
  }
  // A Yes/No question, answered from confirmAnswers.
  bool Ask(Kind kind, const std::string& text) {
    Show({kind, text});
    if (confirmAnswers.empty()) return false;
    bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
  }
};
