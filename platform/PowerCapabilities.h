#pragma once
// What the computer's power management can do now. The Win32 implementation
// asks the system's power capabilities; tests give the answer themselves.
#include <optional>

class IPowerCapabilities {
 public:
  virtual ~IPowerCapabilities() = default;
  // True when the computer can hibernate now: the hardware supports the
  // hibernate sleep state and hibernation is turned on (its file exists).
  // Nothing when the system cannot be asked.
  virtual std::optional<bool> CanHibernate() const = 0;
};
