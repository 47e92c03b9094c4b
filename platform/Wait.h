#pragma once
// A plain wait that blocks the calling thread for a number of milliseconds.
// The program asks an IWait instead of the system so that tests need not wait.
class IWait {
 public:
  virtual ~IWait() = default;
  virtual void Wait(unsigned milliseconds) = 0;
};

// The system's own wait (stateless).
IWait& SystemWait();
