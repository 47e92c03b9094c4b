// The installer's import of an administrator's configuration, a deferred
// custom action that installer/build-msi puts into the MSI: after the files
// are in place it runs the installed program with /import (and /detect),
// copies the program's result lines into the installer's log and fails the
// install when the program fails, so that the install is rolled back.
#include <windows.h>
// after windows.h
#include <msi.h>
#include <msiquery.h>

#include <string>

#include "installer/MsiProperty.h"
#include "platform/win32/AnsiText.h"

namespace {

void Log(MSIHANDLE install, const std::wstring& line) {
  PMSIHANDLE record = MsiCreateRecord(0);
  MsiRecordSetStringW(record, 0, line.c_str());
  MsiProcessMessage(install, INSTALLMESSAGE_INFO, record);
}

}  // namespace

// CustomActionData: the program, the configuration file and DETECTUPS,
// separated by tabs (the file empty for a detection alone). The installer
// runs this only when CONFIGFILE or DETECTUPS=1 is given.
extern "C" __declspec(dllexport) UINT __stdcall ImportConfiguration(MSIHANDLE install) {
  const std::wstring data = Property(install, L"CustomActionData");
  const size_t first = data.find(L'\t'), second = first == std::wstring::npos ? first : data.find(L'\t', first + 1);
  if (second == std::wstring::npos) return ERROR_INSTALL_FAILURE;
  const std::wstring program = data.substr(0, first), file = data.substr(first + 1, second - first - 1);
  const bool detect = data.substr(second + 1).starts_with(L"1");

  std::wstring command = L"\"" + program + L"\"";
  if (!file.empty()) command += L" /import \"" + file + L"\"";
  if (detect) command += L" /detect";
  command += L" /quiet";
  Log(install, L"Ombrel Setup: " + command);

  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return ERROR_INSTALL_FAILURE;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = writeEnd;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                      nullptr, nullptr, &startup, &process);
  CloseHandle(writeEnd);
  if (!started) {
    CloseHandle(readEnd);
    Log(install, L"Ombrel Setup: the installed program could not be started");
    return ERROR_INSTALL_FAILURE;
  }
  // Its result lines, each into the log as it stands.
  std::string output;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) output.append(buffer, read);
  CloseHandle(readEnd);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find_first_of("\r\n", start);
    if (end == std::string::npos) end = output.size();
    if (end > start) Log(install, L"Ombrel Setup: " + AnsiToWide(output.substr(start, end - start)));
    start = end + 1;
  }
  Log(install, L"Ombrel Setup: exit code " + std::to_wstring(code));
  return code == 0 ? ERROR_SUCCESS : ERROR_INSTALL_FAILURE;
}
