#include "installer/ChildProgram.h"

#include <vector>

#include "platform/win32/Handle.h"

namespace {

std::wstring SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = length ? std::wstring(text, length) : std::wstring();
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  return (message.empty() ? L"" : message + L" ") + L"(Windows error " + std::to_wstring(error) + L")";
}

// What the pipe holds now, without waiting for more.
void TakeWaiting(HANDLE pipe, std::string& output) {
  char buffer[4096];
  DWORD waiting = 0, read = 0;
  while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0 &&
         ReadFile(pipe, buffer, waiting < sizeof buffer ? waiting : sizeof buffer, &read, nullptr) &&
         read > 0)
    output.append(buffer, read);
}

}  // namespace

ProgramRun RunProgram(const std::wstring& program, std::wstring command, const std::wstring& folder,
                      DWORD limitMs) {
  ProgramRun run;
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
    run.failure = L"no pipe for its output: " + SystemMessage(GetLastError());
    return run;
  }
  Handle reader(readEnd), writer(writeEnd);
  SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);

  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<char> storage(size);
  auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
  HANDLE inherited = writer.Get();
  if (!InitializeProcThreadAttributeList(attributes, 1, 0, &size)) {
    run.failure = L"no attribute list: " + SystemMessage(GetLastError());
    return run;
  }
  struct Attributes {
    LPPROC_THREAD_ATTRIBUTE_LIST list;
    ~Attributes() { DeleteProcThreadAttributeList(list); }
  } cleanup{attributes};
  if (!UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &inherited,
                                 sizeof inherited, nullptr, nullptr)) {
    run.failure = L"no handle list: " + SystemMessage(GetLastError());
    return run;
  }
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof(startup);
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdOutput = startup.StartupInfo.hStdError = writer.Get();
  startup.lpAttributeList = attributes;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE,
                      CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr, folder.c_str(),
                      &startup.StartupInfo, &process)) {
    run.failure = L"the program " + program + L" could not be started: " + SystemMessage(GetLastError());
    return run;
  }
  Handle processHandle(process.hProcess), thread(process.hThread);
  writer.Close();  // the pipe ends when the program's end of it closes

  const ULONGLONG deadline = GetTickCount64() + limitMs;
  while (true) {
    TakeWaiting(reader.Get(), run.output);
    if (WaitForSingleObject(processHandle.Get(), 100) == WAIT_OBJECT_0) break;
    if (GetTickCount64() >= deadline) {
      TerminateProcess(processHandle.Get(), ERROR_TIMEOUT);
      WaitForSingleObject(processHandle.Get(), 10000);
      TakeWaiting(reader.Get(), run.output);
      run.failure = L"the program " + program + L" had not ended after " + std::to_wstring(limitMs / 60000) +
                    L" minutes and was stopped";
      return run;
    }
  }
  TakeWaiting(reader.Get(), run.output);
  DWORD code = 1;
  if (!GetExitCodeProcess(processHandle.Get(), &code)) {
    run.failure = L"the program's exit code cannot be read: " + SystemMessage(GetLastError());
    return run;
  }
  run.exitCode = code;
  return run;
}
