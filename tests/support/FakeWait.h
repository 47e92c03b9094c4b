#pragma once
// A wait that returns at once and remembers what it was asked to wait.
#include <vector>

#include "platform/Wait.h"

class FakeWait : public IWait {
 public:
  std::vector<unsigned> waits;
  void Wait(unsigned milliseconds) override { waits.push_back(milliseconds); }
};
