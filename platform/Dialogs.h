#pragma once
// The boxes and dialogs the windows show. The Win32 implementation uses the
// system's message box and folder browser; tests use a scripted fake that
// records every text shown.
#include <optional>
#include <string>

class IDialogs {
public:
  virtual ~IDialogs() = default;
  // Plain message: no icon, one OK button, titled with the program's name.
  virtual void Message(const std::string& text) = 0;
  // Error box: error icon, one OK button, titled with the program's name.
  // The text is shown as given (ErrorBoxText has already been applied).
  virtual void Error(const std::string& text) = 0;
  // Warning box: warning icon, one OK button, titled with the program's name.
  virtual void Warn(const std::string& text) = 0;
  // "Confirm" box with a question icon, Yes (default) and No; Escape and the
  // close box answer No. True for Yes.
  virtual bool Confirm(const std::string& text) = 0;
  // Warning box titled "Warning" with a warning icon, Yes (default) and No;
  // Escape and the close box answer No. True for Yes.
  virtual bool AskWarning(const std::string& text) = 0;
  // The folder-browse dialog; nothing when the user cancels.
  virtual std::optional<std::string> BrowseForFolder(const std::string& prompt, const std::string& title) = 0;
};
