// Ends the program at a chosen instant of its writing, as "taskkill /f" or a
// power cut would, for the end-to-end kill test:
//
//   ok_killer TITLE FOLDER WHEN
//
// finds the program by its window TITLE, prints "ready", then watches FOLDER
// for temporary files ("*.tmp*") that were not there when it started: the
// first one to appear is the start of the writes (time 0). WHEN is
//   measure          no kill: waits for the program to end and prints when
//                    each new temporary file appeared, when the last one was
//                    gone ("writes_ms=", the end of the writes) and when the
//                    program ended
//   ms:X             terminates the program X milliseconds after time 0
//   size:NAME:N      terminates it as soon as a new temporary file of NAME
//                    ("NAME.tmp...") holds N bytes or more
// and prints "killed_ms=" (or "ended_first=1" when the program had already
// ended) and "seen=" the temporary files seen, with the time each appeared.
// (On a busy machine a write can pass between two looks: then nothing is
// seen and the program ends on its own.)
// Polls without sleeping, so that an instant inside a write of a few
// milliseconds can be hit.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <set>
#include <string>

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());  // the names here are ASCII
}

// The temporary files in the folder, with their sizes.
std::map<std::wstring, ULONGLONG> Temporaries(const std::wstring& folder) {
  std::map<std::wstring, ULONGLONG> found;
  WIN32_FIND_DATAW data{};
  HANDLE search = FindFirstFileW((folder + L"\\*.tmp*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    found[data.cFileName] = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return found;
}

struct When {
  bool measure = false;
  double ms = -1;           // ms:X
  std::wstring name;        // size:NAME:N
  ULONGLONG bytes = 0;
};

bool Parse(const std::wstring& text, When& when) {
  if (text == L"measure") {
    when.measure = true;
    return true;
  }
  if (text.rfind(L"ms:", 0) == 0) {
    when.ms = std::wcstod(text.c_str() + 3, nullptr);
    return true;
  }
  if (text.rfind(L"size:", 0) == 0) {
    const size_t colon = text.rfind(L':');
    if (colon <= 5) return false;
    when.name = text.substr(5, colon - 5);
    when.bytes = std::wcstoull(text.c_str() + colon + 1, nullptr, 10);
    return true;
  }
  return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  When when;
  if (argc != 4 || !Parse(argv[3], when)) {
    std::fputs("usage: ok_killer TITLE FOLDER measure|ms:X|size:NAME:N\n", stderr);
    return 2;
  }
  HWND window = FindWindowW(nullptr, argv[1]);
  DWORD processId = 0;
  if (window) GetWindowThreadProcessId(window, &processId);
  HANDLE process = processId ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId) : nullptr;
  if (!process) {
    std::fputs("no such program\n", stderr);
    return 1;
  }
  const std::wstring folder = argv[2];
  std::set<std::wstring> before;
  for (const auto& [name, size] : Temporaries(folder)) before.insert(name);
  std::printf("ready\n");
  std::fflush(stdout);

  // The time each new temporary file was first seen and last seen, from time 0.
  std::map<std::wstring, double> seen, last;
  double start = -1;
  const double giveUp = Now() + 120000;
  bool ended = false, killed = false;
  double killedAt = 0, endedAt = 0;
  while (!killed && !ended && Now() < giveUp) {
    const double now = Now();
    for (const auto& [name, size] : Temporaries(folder)) {
      if (before.count(name)) continue;
      if (start < 0) start = now;
      seen.emplace(name, now - start);
      last[name] = now - start;
      if (!when.measure && !when.name.empty() && size >= when.bytes &&
          _wcsnicmp(name.c_str(), (when.name + L".tmp").c_str(), when.name.size() + 4) == 0)
        killed = true;
    }
    if (!when.measure && when.ms >= 0 && start >= 0 && now - start >= when.ms) killed = true;
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) {
      ended = true;
      killed = false;
      endedAt = start >= 0 ? Now() - start : -1;
    } else if (killed) {
      TerminateProcess(process, 1);
      killedAt = Now() - start;
    }
  }
  WaitForSingleObject(process, 10000);
  CloseHandle(process);

  if (killed) std::printf("killed_ms=%.2f\n", killedAt);
  if (ended) std::printf("ended_first=1\nend_ms=%.2f\n", endedAt);
  if (when.measure) {
    double writes = 0;
    for (const auto& [name, at] : last) writes = at > writes ? at : writes;
    std::printf("writes_ms=%.2f\n", writes);
  }
  std::printf("seen=");
  for (const auto& [name, at] : seen) std::printf("%s@%.2f ", Narrow(name).c_str(), at);
  std::printf("\n");
  return killed || ended ? 0 : 1;
}
