#pragma once
// Message boxes and the folder browser through the Win32 API. Texts are bytes
// in the ANSI code page, converted at the call.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/Dialogs.h"

// A Yes/No box: IDYES or IDNO, never anything else (Escape and the close box
// give IDNO). The confirmation box by default; icon is one of MB_ICON*.
int AskYesNo(HWND owner, const std::wstring& text, const wchar_t* title = L"Confirm",
             UINT icon = MB_ICONQUESTION);

class Win32Dialogs : public IDialogs {
 public:
  // programTitle: the program file's name without extension, the title of
  // plain and error boxes. The owner may be set once the main window exists.
  explicit Win32Dialogs(std::string programTitle, HWND owner = nullptr);
  void SetOwner(HWND owner) { owner_ = owner; }

  void Message(const std::string& text) override;
  void Error(const std::string& text) override;
  void Warn(const std::string& text) override;
  // A standard message box (#32770, standard button ids) that also answers
  // No to Escape and to its close box, which stays enabled.
  bool Confirm(const std::string& text) override;
  bool AskWarning(const std::string& text) override;
  std::optional<std::string> BrowseForFolder(const std::string& prompt, const std::string& title) override;

 private:
  std::string programTitle_;
  HWND owner_;
};
