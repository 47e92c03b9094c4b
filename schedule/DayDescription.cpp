#include "schedule/DayDescription.h"

#include "schedule/CalendarMarks.h"
#include "schedule/ScheduleKinds.h"

#include <string_view>

namespace {

const std::string& MonthName(const TINI_LANGUAGE& texts, int month) {
  const std::string* names[] = {&texts.JANUARY,   &texts.FEBRUARY, &texts.MARCH,    &texts.APRIL,
                                &texts.MAY,       &texts.JUNE,     &texts.JULY,     &texts.AUGUST,
                                &texts.SEPTEMBER, &texts.OCTOBER,  &texts.NOVEMBER, &texts.DECEMBER};
  return *names[month - 1];
}

// weekday 1 Sunday to 7 Saturday.
const std::string& WeekdayName(const TINI_LANGUAGE& texts, int weekday) {
  const std::string* names[] = {&texts.SUNDAY,   &texts.MONDAY, &texts.TUESDAY, &texts.WEDNESDAY,
                                &texts.THURSDAY, &texts.FRIDAY, &texts.SATURDAY};
  return *names[weekday - 1];
}

// How a language writes a date and a month, and what joins the date to the
// events: %W the weekday, %D the day, %M the month, %Y the year. Languages
// that write the names in lower case take them so from their capitalized
// captions; a language not listed writes as English does.
struct DateForm {
  std::string_view language;
  std::string_view day;
  std::string_view month;
  std::string_view events;  // before the first event
  bool lowerCaseNames;
  bool firstAsOrdinal;  // the 1st as "1er"
};

constexpr DateForm kDateForms[] = {
    {"English", "%W, %D %M %Y", "%M %Y", ": ", false, false},
    {"Deutsch", "%W, %D. %M %Y", "%M %Y", ": ", false, false},
    {"Francais", "%W %D %M %Y", "%M %Y", " : ", true, true},
    {"Espanol", "%W, %D de %M de %Y", "%M de %Y", ": ", true, false},
};

const DateForm& FormOf(const TINI_LANGUAGE& texts) {
  for (const DateForm& form : kDateForms)
    if (form.language == texts.Language) return form;
  return kDateForms[0];
}

// The first letter in lower case: ASCII, or a capital of the Windows-1252
// letters (0xC0 to 0xDE, less the sign 0xD7).
std::string LowerFirst(std::string name) {
  if (name.empty()) return name;
  const unsigned char first = static_cast<unsigned char>(name[0]);
  if ((first >= 'A' && first <= 'Z') || (first >= 0xC0 && first <= 0xDE && first != 0xD7))
    name[0] = static_cast<char>(first + 0x20);
  return name;
}

std::string Filled(std::string_view pattern, const DateForm& form, const std::string& weekday, int day,
                   const std::string& month, int year) {
  std::string text;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 == pattern.size()) {
      text += pattern[i];
      continue;
    }
    switch (pattern[++i]) {
      case 'W':
        text += form.lowerCaseNames ? LowerFirst(weekday) : weekday;
        break;
      case 'D':
        text += std::to_string(day) + (form.firstAsOrdinal && day == 1 ? "er" : "");
        break;
      case 'M':
        text += form.lowerCaseNames ? LowerFirst(month) : month;
        break;
      case 'Y':
        text += std::to_string(year);
        break;
    }
  }
  return text;
}

}  // namespace

std::string DescribeMonth(const TINI_LANGUAGE& texts, int month, int year) {
  const DateForm& form = FormOf(texts);
  return Filled(form.month, form, {}, 0, MonthName(texts, month), year);
}

std::string DescribeDay(const TINI_LANGUAGE& texts, const TSchedule& store, const TINI& ini,
                        TADateTime& dates, int day, int month, int year) {
  const DateForm& form = FormOf(texts);
  std::string text = Filled(form.day, form, WeekdayName(texts, dates.Day_Of_Week(day, month, year)), day,
                            MonthName(texts, month), year);
  std::string_view separator = form.events;
  for (int kind = 0; kind < kKindCount; ++kind) {
    const auto time = DayTime(store, ini, dates, kind, day, month, year);
    if (!time) continue;
    text.append(separator).append(texts.*kScheduleKinds[kind].name).append(" ").append(*time);
    separator = ", ";
  }
  return text;
}
