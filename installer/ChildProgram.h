#pragma once
// Runs a program for the installer and collects what it writes.
#include <windows.h>

#include <optional>
#include <string>

struct ProgramRun {
  std::optional<DWORD> exitCode;  // none: it could not start, or ran out of time
  std::string output;             // its standard output and error, as written
  std::wstring failure;           // why there is no exit code
};

// Runs command (the program's path first, quoted) in folder, its output
// into a pipe, and waits at most limitMs; a program still running then is
// ended. The program inherits the pipe's end alone, none of the caller's
// other handles.
ProgramRun RunProgram(const std::wstring& program, std::wstring command, const std::wstring& folder,
                      DWORD limitMs);
