#include "schedule/ScheduleOverview.h"

#include <vector>

#include "schedule/ScheduleKinds.h"

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
  if (fields.size() > 1) {
    const std::optional<int> kind = KindOfWord(fields[1]);
    row.type = kind ? texts.*kScheduleKinds[*kind].name : fields[1];
  }
  if (fields.size() > 2) row.time = fields[2];
  if (fields.size() > 3) row.warning = fields[3] == "0" ? texts.NO : texts.YES;
  return row;
}
