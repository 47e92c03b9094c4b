#include "app/CommandLineRun.h"

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <memory>
#include <optional>
#include <vector>

#include "app/DetectWithoutWindow.h"
#include "app/SetupLock.h"
#include "app/TDataModule1.h"
#include "app/TFormMain.h"
#include "deploy/Deployment.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32DosDevices.h"
#include "platform/win32/Win32EventLog.h"
#include "platform/win32/Win32PowerCapabilities.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SerialChannel.h"
#include "platform/win32/Win32Shell.h"
#include "util/AppError.h"
#include "util/Unicode.h"

namespace {

std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; words && i < count; ++i) arguments.push_back(WideToAnsi(words[i]));
  LocalFree(words);
  return arguments;
}

// Now as ISO 8601 UTC: "2026-12-09T11:54:02Z".
std::string UtcNow() {
  SYSTEMTIME now;
  GetSystemTime(&now);
  char text[32];
  snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", now.wYear, now.wMonth, now.wDay, now.wHour,
           now.wMinute, now.wSecond);
  return text;
}

// A result line in UTF-8. Most lines are in the ANSI code page (paths, the
// system's messages) but values echoed from a configuration file are UTF-8
// already; an ANSI line with characters beyond ASCII is not valid UTF-8.
std::string Utf8Line(const std::string& line) {
  return IsValidUtf8(line) ? line : Utf8FromSystemCodePage(line);
}

// The same line for the console's wide text.
std::wstring WideLine(const std::string& line) {
  if (!IsValidUtf8(line)) return AnsiToWide(line);
  const int size = MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
  std::wstring wide(size > 0 ? size : 0, L'\0');
  if (size > 0) MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wide.data(), size);
  return wide;
}

std::string Utf8Of(std::wstring_view wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                       nullptr);
  std::string text(size > 0 ? size : 0, '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
  return text;
}

// A window station nobody sees (a service's or a scheduled task's, session
// 0): a box there would wait for an answer that never comes.
bool NobodySeesBoxes() {
  HWINSTA station = GetProcessWindowStation();
  USEROBJECTFLAGS flags{};
  return station && GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr) &&
         !(flags.dwFlags & WSF_VISIBLE);
}

// Where the result lines go: the console the program was started from (or
// the file or pipe its output was sent to), the log file, and, unless quiet,
// one box at the end. Output sent to a file or a pipe is read by a script or
// a tool, not a person: no box then either.
class ResultLines {
 public:
  ResultLines(std::optional<std::string> log, bool quiet) : log_(std::move(log)), quiet_(quiet || NobodySeesBoxes()) {
    output_ = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output_ && output_ != INVALID_HANDLE_VALUE) {
      const DWORD type = GetFileType(output_);
      if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) quiet_ = true;
    } else {
      if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        attached_ = true;
        output_ = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
      }
    }
  }
  ~ResultLines() {
    if (attached_) {
      if (output_ != INVALID_HANDLE_VALUE) CloseHandle(output_);
      FreeConsole();
    }
  }
  ResultLines(const ResultLines&) = delete;
  ResultLines& operator=(const ResultLines&) = delete;

  void Say(const std::string& line) {
    const std::string text = line + "\r\n";
    shown_ += text;
    DWORD mode = 0, written = 0;
    if (output_ && output_ != INVALID_HANDLE_VALUE) {
      if (GetConsoleMode(output_, &mode)) {
        const std::wstring wide = WideLine(text);
        WriteConsoleW(output_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
      } else {
        WriteFile(output_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
      }
    }
    Log(line);
  }

  // A line for the log alone: the run's first and last.
  void Log(const std::string& line) {
    if (!log_) return;
    try {
      fs_seam::AppendToFile(*log_, Utf8Line(line) + "\r\n");
    } catch (const fs_seam::FileError& error) {
      // The log is a copy of what the console shows; the run goes on, and
      // whoever reads the console learns why the log stays empty.
      const std::string path = *log_;
      log_.reset();
      Say("Cannot write the log " + path + ": " + error.what());
    }
  }

  // The box at the end, unless quiet: an error box when the run failed.
  void ShowBox(const std::string& title, bool failed) const {
    if (quiet_ || shown_.empty()) return;
    Win32Dialogs boxes(title);
    if (failed)
      boxes.Error(shown_);
    else
      boxes.Message(shown_);
  }

 private:
  std::optional<std::string> log_;
  bool quiet_;
  HANDLE output_ = nullptr;
  bool attached_ = false;
  std::string shown_;
};

// The Auto Detect UPS button's run over the real ports, its events coming
// through the program's message queue.
DetectionReport Detect(const Services& services) {
  return DetectWithoutWindow(
      services, [](ui::ErrorSink sink) { return std::make_unique<Win32SerialChannel>(std::move(sink)); },
      [](TDataModule1&) {
        MSG message;
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) return false;
        TranslateMessage(&message);
        DispatchMessageW(&message);
        return true;
      });
}

std::string TitleOf(const std::string& path) {
  std::string name = path.substr(FolderOf(path).size());
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

std::optional<int> RunCommandLine(const std::string& programPath) {
  const deploy::ParsedCommandLine parsed = deploy::ParseCommandLine(Arguments());
  if (!parsed.command && parsed.error.empty() && !parsed.help) return std::nullopt;
  ResultLines lines(parsed.log, parsed.quiet);
  Win32EventLog eventLog;
  const std::string now = UtcNow();
  lines.Log(now + " Ombrel Setup " + deploy::kVersion + ", account " + eventLog.Account() + ": " +
            Utf8Of(GetCommandLineW()));
  const std::string title = TitleOf(programPath);
  // Held while the run works; let go before its box, which only reports.
  std::optional<SetupLock> lock;
  auto end = [&](int code) {
    lines.Log("Exit code " + std::to_string(code));
    lock.reset();
    lines.ShowBox(title, code != deploy::kDone);
    return code;
  };
  if (parsed.help) {
    lines.Say(deploy::Usage());
    return end(deploy::kDone);
  }
  if (!parsed.command) {
    lines.Say(parsed.error);
    lines.Say(deploy::Usage());
    return end(deploy::kWrongArguments);
  }
  // The window would write its own values over ours at its OK, and another
  // run would mix its writes with ours.
  lock.emplace();
  const deploy::Command& command = *parsed.command;
  if (!lock->Held() && !command.version) {
    lines.Say("Ombrel Setup is open on this PC (its window, in this or another session, or another run): "
              "close it or let it end first; nothing written");
    if (!command.check)
      deploy::AddEntry(&eventLog, IEventLog::Kind::Error, "OmbrelSetup.exe " + deploy::CommandText(command) + ": exit code 5",
                       {"Ombrel Setup is open on this PC; nothing written"});
    return end(deploy::kWindowOpen);
  }

  Win32Registry registry;
  Win32Shell shell;
  Win32DosDevices dosDevices;
  Win32PowerCapabilities power;
  KeptReport noBoxes;
  Services services{noBoxes, registry, shell, SystemClock(), SystemWait(), programPath, nullptr, nullptr, &dosDevices};
  try {
    return end(deploy::Run(*parsed.command, {registry, shell, programPath, [&] { return Detect(services); },
                                             [&](const std::string& line) { lines.Say(line); }, &eventLog, &power, now}));
  } catch (const std::exception& error) {
    const std::string line = ErrorBoxText(error.what());
    lines.Say(line);
    deploy::AddEntry(&eventLog, IEventLog::Kind::Error,
                     "OmbrelSetup.exe " + deploy::CommandText(*parsed.command) + ": exit code 4", {line});
    return end(deploy::kWriteFailed);
  }
}
