#pragma once
// A clock that tells the time a test gives it.
#include "platform/Clock.h"

class FakeClock : public IClock {
public:
  FakeClock() = default;
  explicit FakeClock(const LocalDateTime& now) : now_(now) {}

  void Set(const LocalDateTime& now) { now_ = now; }
  void SetSeparators(char date, char time) {
    dateSeparator_ = date;
    timeSeparator_ = time;
  }

  LocalDateTime Now() const override { return now_; }
  char DateSeparator() const override { return dateSeparator_; }
  char TimeSeparator() const override { return timeSeparator_; }

private:
  LocalDateTime now_{2024, 3, 5, 13, 45, 30, 250};
  char dateSeparator_ = '/';
  char timeSeparator_ = ':';
};
