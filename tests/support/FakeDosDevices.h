#pragma once
// DOS device names chosen by the test.
#include <string>
#include <vector>

#include "platform/DosDevices.h"

class FakeDosDevices : public IDosDevices {
 public:
  std::vector<std::string> names;
  std::vector<std::string> Names() override { return names; }
};
