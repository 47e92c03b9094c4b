// The local date and time of Windows, and the separators of the user's locale.
#include <windows.h>

#include "platform/Clock.h"

namespace {

// The first character of a locale string as one ANSI byte, or fallback when
// the locale has none or it has no single-byte form.
char LocaleSeparator(LCTYPE item, char fallback) {
  wchar_t text[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, item, text, 8) < 2) return fallback;
  char ansi[8] = {};
  BOOL lossy = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, 0, text, 1, ansi, sizeof ansi, nullptr, &lossy);
  if (length != 1 || lossy) return fallback;
  return ansi[0];
}

class WindowsClock final : public IClock {
 public:
  LocalDateTime Now() const override {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    LocalDateTime result;
    result.Year = now.wYear;
    result.Month = now.wMonth;
    result.Day = now.wDay;
    result.Hour = now.wHour;
    result.Minute = now.wMinute;
    result.Second = now.wSecond;
    result.Millisecond = now.wMilliseconds;
    return result;
  }
  char DateSeparator() const override { return LocaleSeparator(LOCALE_SDATE, '/'); }
  char TimeSeparator() const override { return LocaleSeparator(LOCALE_STIME, ':'); }
};

}  // namespace

const IClock& SystemClock() {
  static const WindowsClock clock;
  return clock;
}
