#pragma once
// The program's non-visual components. Creating it opens no port and starts
// no timer.
#include "platform/Clock.h"
#include "schedule/TADateTime.h"
#include "ui/Timer.h"
#include "util/TAString.h"

class TDataModule1 {
 public:
  TDataModule1(const IClock& clock, ui::ErrorSink sink);

  TADateTime ADateTime1;
  TAString AString1;
  ui::Timer Timer1;  // UPS detection ticks, every 1000 ms while a probe runs
};
