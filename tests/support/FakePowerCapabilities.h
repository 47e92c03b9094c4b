#pragma once
// The power capabilities the test gives.
#include <optional>

#include "platform/PowerCapabilities.h"

class FakePowerCapabilities : public IPowerCapabilities {
 public:
  std::optional<bool> canHibernate = true;
  std::optional<bool> CanHibernate() const override { return canHibernate; }
};
