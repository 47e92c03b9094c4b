#pragma once
// The power capabilities as the system reports them.
#include "platform/PowerCapabilities.h"

class Win32PowerCapabilities : public IPowerCapabilities {
 public:
  std::optional<Hibernation> HibernationState() const override;
};
