#include "app/DetectWithoutWindow.h"

#include <optional>
#include <string>

#include "app/TDataModule1.h"
#include "util/AppError.h"

void KeptReport::Error(const std::string& text) { throw AppError(text); }

namespace {

// What the main window does for a run, without the window: it only keeps
// the port and series the run preselects.
class NoWindow : public IDetectionWindow {
 public:
  int port = 0;
  int seriesCode = -1;
  void ShowHourglass(bool) override {}
  void ShowProbedPort(int) override {}
  void PreselectUps(int n, int code) override {
    port = n;
    seriesCode = code;
  }
  const TINI_LANGUAGE& Texts() const override { return texts_; }

 private:
  TINI_LANGUAGE texts_;
};

}  // namespace

DetectionReport DetectWithoutWindow(const Services& services,
                                    const std::function<std::unique_ptr<SerialChannel>(ui::ErrorSink)>& makePort,
                                    const std::function<bool(TDataModule1&)>& next) {
  KeptReport boxes;
  NoWindow window;
  std::optional<std::string> failure;
  auto keepFailure = [&failure](const std::string& text) { failure = text; };
  TDataModule1 module(services, makePort(keepFailure), keepFailure);
  module.SetDetectionWindow(&window, &boxes);
  module.AutoDetectClick({});
  while (!boxes.report && !failure && next(module)) {
  }
  // A run whose events stopped before its report ends as one that failed:
  // its port is closed and RUNNING set back.
  if (failure || !boxes.report) {
    module.EndDetection();
    throw AppError(failure ? *failure : "The UPS detection was cut short");
  }
  return {*boxes.report, window.port > 0 ? 1 : 0, window.port, window.seriesCode};
}
