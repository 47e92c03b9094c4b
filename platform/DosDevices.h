#pragma once
// The system's DOS device names ("COM1", "LPT1", "C:", ...), as QueryDosDevice
// lists them: where the program learns which serial ports the computer has.
#include <string>
#include <vector>

class IDosDevices {
 public:
  virtual ~IDosDevices() = default;
  // Every name, in the system's order; empty when the system cannot list them.
  virtual std::vector<std::string> Names() = 0;
};
