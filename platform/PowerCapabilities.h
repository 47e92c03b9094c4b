#pragma once
// What the computer's power management can do now. The Win32 implementation
// asks the system's power capabilities; tests give the answer themselves.
#include <optional>

enum class Hibernation {
  kAvailable,
  kOff,          // no hibernation file: "powercfg /hibernate off"
  kReducedFile,  // a reduced hibernation file: it serves fast start-up only
  kUnsupported,  // the hardware or its drivers cannot hibernate
};

class IPowerCapabilities {
 public:
  virtual ~IPowerCapabilities() = default;
  // Whether the computer can hibernate now, or why not. Nothing when the
  // system cannot be asked.
  virtual std::optional<Hibernation> HibernationState() const = 0;

  // True when the computer can hibernate now; nothing when not known.
  std::optional<bool> CanHibernate() const {
    const std::optional<Hibernation> state = HibernationState();
    if (!state) return std::nullopt;
    return *state == Hibernation::kAvailable;
  }
};
