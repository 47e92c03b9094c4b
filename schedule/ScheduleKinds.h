#pragma once
// The three kinds of scheduled event (shutdown, start-up, UPS test), each
// with everything the program ties to it: its word in the store's lines, the
// set of calendar markers that shows it, their colour, its name and time
// caption in the text table, and the settings that hold its weekly rule.
// Indexed by kind, as kKindWords.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "i18n/TINI_LANGUAGE.h"
#include "schedule/ScheduleOrder.h"
#include "settings/TINI.h"

// The settings that hold the weekly rule of a kind.
struct WeeklyRuleKeys {
  std::string TINI::*days;  // 7 characters, Sunday first, "1" on
  int32_t TINI::*hour;
  int32_t TINI::*minute;
  bool TINI::*warning;
};

struct ScheduleKind {
  std::string_view word;
  int markerSet;    // 0 red, 1 lime, 2 blue
  uint32_t colour;  // 0x00BBGGRR, as a Windows colour
  std::string TINI_LANGUAGE::*name;
  std::string TINI_LANGUAGE::*timeCaption;
  WeeklyRuleKeys weekly;
};

inline constexpr ScheduleKind kScheduleKinds[kKindCount] = {
    {kKindWords[0],
     0,
     0x0000FF,
     &TINI_LANGUAGE::SHUTDOWN,
     &TINI_LANGUAGE::SHUTDOWN_TIME,
     {&TINI::WEEKLY_SCHEDULE_SHUTDOWN_DAY, &TINI::WEEKLY_SCHEDULE_SHUTDOWN_HOUR,
      &TINI::WEEKLY_SCHEDULE_SHUTDOWN_MINUTE, &TINI::WEEKLY_SCHEDULE_SHUTDOWN_WARNING}},
    {kKindWords[1],
     1,
     0x00FF00,
     &TINI_LANGUAGE::STARTUP,
     &TINI_LANGUAGE::STARTUP_TIME,
     {&TINI::WEEKLY_SCHEDULE_STARTUP_DAY, &TINI::WEEKLY_SCHEDULE_STARTUP_HOUR,
      &TINI::WEEKLY_SCHEDULE_STARTUP_MINUTE, &TINI::WEEKLY_SCHEDULE_STARTUP_WARNING}},
    {kKindWords[2],
     2,
     0xFF0000,
     &TINI_LANGUAGE::TESTUPS,
     &TINI_LANGUAGE::TESTUPS_TIME,
     {&TINI::WEEKLY_SCHEDULE_TESTUPS_DAY, &TINI::WEEKLY_SCHEDULE_TESTUPS_HOUR,
      &TINI::WEEKLY_SCHEDULE_TESTUPS_MINUTE, &TINI::WEEKLY_SCHEDULE_TESTUPS_WARNING}},
};

inline const WeeklyRuleKeys& WeeklyRuleOf(int kind) {
  return kScheduleKinds[kind].weekly;
}

// The marker set of a kind word; any word that names no kind shows blue.
inline int MarkerSetOf(std::string_view word) {
  return kScheduleKinds[KindOfWord(word).value_or(2)].markerSet;
}
