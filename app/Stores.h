#pragma once
// What the main window shows and edits, held from the start to the close.
#include <memory>

#include "i18n/TINI_LANGUAGE.h"
#include "schedule/TSchedule.h"
#include "settings/TINI.h"

struct Stores {
  std::unique_ptr<TINI> settings;
  std::unique_ptr<TSchedule> schedule;
  std::unique_ptr<TINI_LANGUAGE> language;
};
