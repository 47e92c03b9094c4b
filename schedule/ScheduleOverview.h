#pragma once
// What the overview window shows of one store line: its date, its time, the
// name of its kind and the yes or no of its warning, in the texts of the
// language in use.
#include <string>

#include "i18n/TINI_LANGUAGE.h"
#include "util/TAString.h"

struct OverviewRow {
  std::string day;      // the date text as stored
  std::string time;     // the time text as stored
  std::string type;     // the kind's name, or the kind word itself when it names no kind
  std::string warning;  // NO for the flag "0", YES for any other flag
};

// The line is split at its first three commas into date, kind word, time and
// flag. A line with fewer commas fills the columns of the fields it has and
// leaves the others empty (a line without a comma shows in the date column
// alone).
OverviewRow OverviewRowOf(const std::string& line, const TINI_LANGUAGE& texts, const TAString& strings);
