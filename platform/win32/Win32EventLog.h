#pragma once
// The Application event log, source "Ombrel Setup" (the installer registers it
// with the installed exe as its message file).
#include "platform/EventLog.h"

class Win32EventLog : public IEventLog {
 public:
  bool Add(Kind kind, const std::string& text) override;
  // "unknown" when the system does not say.
  std::string Account() const override;
};
