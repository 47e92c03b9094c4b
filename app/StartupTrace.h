#pragma once
// Start-up timing for the start-up benchmark. Given a file, each step is
// noted with the time since the process began, the CPU time the process had
// used by then and its peak working set, and the list is written to that
// file once the program is ready: the first time its message loop finds no
// message waiting, the moment the system's WaitForInputIdle reports. Without
// one, nothing is noted and nothing is written.
#include <windows.h>

#include <string>
#include <vector>

class StartupTrace {
 public:
  // file: where the steps go; null or empty for no trace.
  explicit StartupTrace(const wchar_t* file);
  StartupTrace(const StartupTrace&) = delete;
  StartupTrace& operator=(const StartupTrace&) = delete;

  bool On() const { return !file_.empty(); }
  void Mark(const char* step);
  // Called by the message loop before it waits: the first time no message is
  // waiting, notes "ready" and writes the steps; later steps are not written.
  void MarkReadyWhenIdle();

 private:
  struct Step {
    const char* name;
    ULONGLONG sinceStart;  // 100 ns units since the process was created
    ULONGLONG cpu;         // user and kernel time of the process, 100 ns units
    SIZE_T peakBytes;      // peak working set of the process
  };
  std::wstring file_;
  ULONGLONG created_ = 0;
  std::vector<Step> steps_;
  bool written_ = false;

  void Write() const;
};
