// The local date and time on a POSIX system; the separators are fixed.
#include <time.h>

#include "platform/Clock.h"

namespace {

class PosixClock final : public IClock {
 public:
  LocalDateTime Now() const override {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    ::localtime_r(&now.tv_sec, &local);
    LocalDateTime result;
    result.Year = local.tm_year + 1900;
    result.Month = local.tm_mon + 1;
    result.Day = local.tm_mday;
    result.Hour = local.tm_hour;
    result.Minute = local.tm_min;
    result.Second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second reads as :59
    result.Millisecond = static_cast<int>(now.tv_nsec / 1000000);
    return result;
  }
  char DateSeparator() const override { return '/'; }
  char TimeSeparator() const override { return ':'; }
};

}  // namespace

const IClock& SystemClock() {
  static const PosixClock clock;
  return clock;
}
