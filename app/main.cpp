// Program entry: one copy at a time, the three top-level objects, the message loop.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <optional>
#include <string>

#include "app/CommandLineRun.h"
#include "app/SetupLock.h"
#include "app/Services.h"
#include "app/StartupTrace.h"
#include "app/TDataModule1.h"
#include "app/TFormMain.h"
#include "app/TFormViewAll.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32FolderRights.h"
#include "platform/win32/Win32EventLog.h"
#include "platform/win32/Win32PowerCapabilities.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32DosDevices.h"
#include "platform/win32/Win32SerialChannel.h"
#include "platform/win32/OwnPath.h"
#include "platform/win32/Win32Shell.h"
#include "i18n/TINI_LANGUAGE.h"
#include "settings/TINI.h"
#include "ui/Text.h"

namespace {

// The program file's name without folder and extension: the title of its boxes.
std::string ProgramTitle(const std::string& path) {
  std::string name = path.substr(FolderOf(path).size());
  auto dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

// Another copy's window, brought to the front and restored; false when none runs.
bool ActivateOtherCopy() {
  HWND other = FindWindowW(nullptr, AnsiToWide(kMainWindowTitle).c_str());
  if (!other) return false;
  SetForegroundWindow(other);
  if (IsIconic(other)) ShowWindow(other, SW_RESTORE);
  return true;
}

// The box that says another Ombrel Setup holds the settings, in the
// language the settings name (English when they cannot be read).
void SayInUse(const std::string& path) {
  const std::string folder = FolderOf(path);
  TINI settings;
  settings.Load(folder + "omb.ini");
  TINI_LANGUAGE language;
  language.Path = folder + "Languages\\" + settings.LANGUAGE + "\\setup.ini";
  language.Load();
  Win32Dialogs(ProgramTitle(path)).Message(language.MESSAGE_SETUP_IN_USE);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The program runs elevated: a DLL it loads by name must come from the
  // system folder, never from its own folder or the current one.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
#ifdef OMBREL_STARTUP_TRACE
  // The start-up benchmark's build: notes the steps of the start in the file
  // its environment names. The shipped program reads no environment.
  StartupTrace trace(_wgetenv(L"OMBREL_STARTUP_TRACE"));
#else
  StartupTrace trace(nullptr);
#endif
  trace.Mark("entry");
  // Options configure this PC without the window and end the program.
  if (std::optional<int> code = RunCommandLine(OwnPath())) return *code;
  // Held while the window is open: a command-line run meets it and writes nothing.
  const SetupLock lock;
  if (!lock.Held()) {
    if (ActivateOtherCopy()) return 0;
    // A run from the command line, or a window in another session: the
    // files may change under a window opened now.
    SayInUse(OwnPath());
    return 0;
  }

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  trace.Mark("common controls");

  std::string path = OwnPath();
  Win32Dialogs dialogs(ProgramTitle(path));
  Win32Registry registry;
  Win32Shell shell;
  Win32FolderRights folderRights;
  Win32DosDevices dosDevices;
  Win32PowerCapabilities power;
  Win32EventLog eventLog;
  Services services{dialogs, registry,      shell,       SystemClock(), SystemWait(),
                    path,    &trace,        &folderRights, &dosDevices, &power, &eventLog};

  auto showError = [&dialogs](const std::string& text) { dialogs.Error(text); };
  TDataModule1 module(services, std::make_unique<Win32SerialChannel>(showError), showError);
  TFormMain form(services, module);
  dialogs.SetOwner(form.Handle());
  form.OnClosed = [] { PostQuitMessage(0); };
  // The overview window is made at the first View All, and destroyed before the main window.
  std::optional<TFormViewAll> viewAll;
  form.MakeFormViewAll = [&]() -> TFormViewAll& { return viewAll.emplace(services, form.Handle()); };
  form.Show();
  trace.Mark("shown");

  MSG message;
  for (;;) {
    trace.MarkReadyWhenIdle();
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) break;
    form.ProcessMessage(message);
  }
  return 0;
}
