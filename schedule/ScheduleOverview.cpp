#include "schedule/ScheduleOverview.h"

#include <vector>

#include "schedule/TSchedule.h"

namespace {

std::string KindName(const std::string& word, const TINI_LANGUAGE& texts) {
  const std::string* names[] = {&texts.SHUTDOWN, &texts.STARTUP, &texts.TESTUPS};
  for (int kind = 0; kind < 3; ++kind)
    if (word == TSchedule::kKindWords[kind]) return *names[kind];
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
