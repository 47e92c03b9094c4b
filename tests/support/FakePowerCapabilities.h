#pragma once
// The power capabilities the test gives.
#include <optional>

#include "platform/PowerCapabilities.h"

class FakePowerCapabilities : public IPowerCapabilities {
 public:
  std::optional<Hibernation> state = Hibernation::kAvailable;
  std::optional<Hibernation> HibernationState() const override { return state; }
};
