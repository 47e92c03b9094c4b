#pragma once
// The local date and time, and the system's date and time separators.
// The program asks an IClock instead of the system so that tests can fix the time.

struct LocalDateTime {
  int Year = 0;
  int Month = 0;  // 1..12
  int Day = 0;    // 1..31
  int Hour = 0;   // 0..23
  int Minute = 0;
  int Second = 0;
  int Millisecond = 0;
};

class IClock {
public:
  virtual ~IClock() = default;
  virtual LocalDateTime Now() const = 0;
  virtual char DateSeparator() const = 0;
  virtual char TimeSeparator() const = 0;
};

// The computer's own clock and separators (stateless).
const IClock& SystemClock();
