#pragma once
// Date arithmetic of the schedule page: day-of-week numbers (1 Sunday to 7
// Saturday), month lengths and the date texts compared with schedule lines.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/Clock.h"

// The run-time library's conversion failure ("Invalid argument to date encode").
class EConvertError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct TATimes {
  uint16_t Hour = 0;
  uint16_t Min = 0;
  uint16_t Sec = 0;
  uint16_t MSec = 0;
};

class TADateTime {
public:
  explicit TADateTime(const IClock& clock = SystemClock());

  TATimes ATime;
  uint16_t ADay = 0;
  uint16_t AMonth = 0;
  uint16_t AYear = 0;
  TATimes TimeNow;
  uint16_t ADayNow = 0;
  uint16_t AMonthNow = 0;
  uint16_t AYearNow = 0;
  bool Direction = false;  // true: dd/mm/yyyy, false: yyyy/mm/dd

  // The texts made from a pattern ("hh:nn:ss", "dd/mm/yyyy", "yyyy/mm/dd")
  // use the clock's time and date separators for ':' and '/'.
  std::string Current_Time_To_String() const;
  std::string Current_Day_To_String() const;
  int Current_Day_Of_Week() const;
  std::string Time_To_String() const;
  std::string Day_To_String() const;
  // Throws EConvertError for a date that does not exist.
  int Day_Of_Week(int day, int month, int year) const;
  int TotalDayOfMonth() const;
  double Time_To_Float() const;
  // Throws EConvertError when the start date does not exist or the result
  // falls outside the years 1 to 9999.
  void NextDay(int day, int month, int year, int offset, std::string& result) const;
  int MaxDayOfMonth(unsigned month, int32_t year) const;
  void Update();

private:
  const IClock& clock_;
};
