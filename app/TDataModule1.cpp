#include "app/TDataModule1.h"

TDataModule1::TDataModule1(const IClock& clock, ui::ErrorSink sink) : ADateTime1(clock) {
  Timer1.Create({.intervalMs = 1000, .sink = std::move(sink)});
}
