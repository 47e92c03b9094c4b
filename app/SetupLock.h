#pragma once
// One Ombrel Setup at work on this computer at a time, across every session:
// the window holds the lock while it is open, a command-line run while it
// works. A window that read the files before a run wrote them would put the
// old values back at its OK; two runs would interleave their writes.
#include <windows.h>

class SetupLock {
 public:
  // Takes the lock when nobody holds it; Held() says whether it was taken.
  SetupLock();
  ~SetupLock();
  SetupLock(const SetupLock&) = delete;
  SetupLock& operator=(const SetupLock&) = delete;

  bool Held() const { return held_; }

 private:
  HANDLE mutex_ = nullptr;
  bool held_ = false;
};
