#include "schedule/ScheduleOverview.h"

#include <vector>

namespace {

std::string KindName(const std::string& word, const TINI_LANGUAGE& texts) {
  if (word == "SHUTDOWN") return texts.SHUTDOWN;
  if (word == "STARTUP") return texts.STARTUP;
  if (word == "TESTUPS") return texts.TESTUPS;
  return word;
}

}  // namespace

OverviewRow OverviewRowOf(const std::string& line, const TINI_LANGUAGE& texts, const TAString& strings) {
  // Date, kind word, time, then the rest of the line as the flag.
  std::vector<std::string> fields;
  std::string rest = line;
  for (int split = 0; split < 3; ++split) {
    std::string field;
    if (!strings.Split_String(rest, ',', field, rest)) break;
    fields.push_back(std::move(field));
  }
  fields.push_back(std::move(rest));

  OverviewRow row;
  row.day = fields[0];
  if (fields.size() > 1) row.type = KindName(fields[1], texts);
  if (fields.size() > 2) row.time = fields[2];
  if (fields.size() > 3) row.warning = fields[3] == "0" ? texts.NO : texts.YES;
  return row;
}

std::string HourMinuteText(int hour, int minute) {
  auto twoDigits = [](int value) {
    std::string text(value >= 0 && value <= 9 ? "0" : "");
    return text.append(std::to_string(value));
  };
  return twoDigits(hour) + ":" + twoDigits(minute);
}
