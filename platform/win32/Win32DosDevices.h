#pragma once
// The DOS device names through QueryDosDeviceW.
#include "platform/DosDevices.h"

class Win32DosDevices : public IDosDevices {
 public:
  std::vector<std::string> Names() override;
};
