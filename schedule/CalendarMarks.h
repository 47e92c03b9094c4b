#pragma once
// What the schedule page's calendar shows of the store and the weekly rules:
// where a day stands in the month grid, which days carry a marker of each
// kind, and the event times of one day.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "schedule/TADateTime.h"
#include "schedule/TSchedule.h"
#include "settings/TINI.h"

// An hour or a minute as the schedule shows it: a leading "0" when 9 or less.
std::string TwoDigits(int value);

// The kinds, numbered as TSchedule::kKindWords and as the marker sets: red, lime, blue.
inline constexpr int kKindCount = 3;
// The marker set of a kind word: SHUTDOWN 0 (red), STARTUP 1 (lime), any other word 2 (blue).
int MarkerSetOf(const std::string& kind);

// The settings that hold the weekly rule of a kind.
struct WeeklyRuleKeys {
  std::string TINI::*days;  // 7 characters, Sunday first, "1" on
  int32_t TINI::*hour;
  int32_t TINI::*minute;
  bool TINI::*warning;
};
const WeeklyRuleKeys& WeeklyRuleOf(int kind);
// True when the day mask has "1" at weekday (1 Sunday to 7 Saturday).
bool MaskHas(const std::string& mask, int weekday);

// The year-first date text of a day, "yyyy/mm/dd", as the store holds it.
std::string DateText(TADateTime& dates, int day, int month, int year);
// The date texts of a month without their day digits: "yyyy/mm/".
std::string MonthDatePrefix(TADateTime& dates, int month, int year);

// The days of a month without a dated event of the kind, ascending.
std::vector<int> DaysWithoutDatedEvent(const TSchedule& store, TADateTime& dates, int kind, int month,
                                       int year);

// marked[kind][day - 1]: the day has a dated event of that kind, or the kind's
// weekly rule falls on its weekday. The store is searched once for the month.
using MonthMarks = std::array<std::array<bool, 31>, kKindCount>;
MonthMarks MarksOfMonth(const TSchedule& store, const TINI& ini, TADateTime& dates, int month, int year);

// The time a label shows for a kind on a date: the dated event's time, else
// the weekly rule's hour and minute ("07:05") when it falls on that weekday;
// nothing when neither.
std::optional<std::string> DayTime(const TSchedule& store, const TINI& ini, TADateTime& dates, int kind,
                                   int day, int month, int year);

// Takes the ticked weekdays (0 Sunday to 6 Saturday) off the kind's day mask
// and removes, in one pass, the store's events of that kind whose date falls
// on one of them, in any month. Events of other kinds stay, and so do lines
// whose date does not exist. Gives the dates of the removed events.
std::vector<std::string> ClearWeekdays(TSchedule& store, TINI& ini, const TADateTime& dates, int kind,
                                       const std::array<bool, 7>& ticked);
