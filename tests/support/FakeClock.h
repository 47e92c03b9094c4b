#pragma once
// A clock that always shows the same moment, with chosen separators.
#include "platform/Clock.h"

class FakeClock : public IClock {
public:
  explicit FakeClock(LocalDateTime now, char dateSeparator = '/', char timeSeparator = ':')
      : now_(now), dateSeparator_(dateSeparator), timeSeparator_(timeSeparator) {}
  LocalDateTime Now() const override { return now_; }
  char DateSeparator() const override { return dateSeparator_; }
  char TimeSeparator() const override { return timeSeparator_; }

private:
  LocalDateTime now_;
  char dateSeparator_;
  char timeSeparator_;
};
