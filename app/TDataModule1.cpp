#include "app/TDataModule1.h"

#include "ups/PortsBeyondCom8.h"

namespace {

// RUNNING tells the monitor that a probe holds the serial ports (3) and
// that it is over (4).
constexpr uint32_t kProbeRunning = 3;
constexpr uint32_t kProbeOver = 4;
constexpr unsigned kSettleMs = 3000;

}  // namespace

TDataModule1::TDataModule1(const Services& services, std::unique_ptr<SerialChannel> comPort,
                           ui::ErrorSink sink)
    : services_(services),
      comPort_(std::move(comPort)),
      ADateTime1(services.clock),
      ComPort1(*comPort_),
      detection_(*comPort_) {
  Timer1.Create({.intervalMs = 1000, .sink = std::move(sink)});
  Timer1.OnTimer = [this] { Timer1Timer(); };
  ComPort1.OnTriggerAvail = [this](SerialChannel& sender, uint16_t count) {
    ComPort1TriggerAvail(sender, count);
  };
  detection_.OnProbe = [this](int port) {
    if (window_) window_->ShowProbedPort(port);
  };
}

void TDataModule1::AutoDetectClick(const std::string& question) {
  if (!Boxes().AskWarning(question)) return;
  if (window_) window_->ShowHourglass(true);
  try {
    services_.registry.SetNumber(kProgramKey, "RUNNING", kProbeRunning);
    services_.wait.Wait(kSettleMs);
    StartDetection();
  } catch (...) {
    // No run started: nothing is left busy. (A run already going on keeps
    // its hourglass and its port.) RUNNING may hold 3 although its writing
    // failed (set, then not flushed): the monitor is told the probe is over.
    if (!Timer1.Enabled()) {
      ComPort1.SetOpen(false);
      if (window_) window_->ShowHourglass(false);
      try {
        services_.registry.SetNumber(kProgramKey, "RUNNING", kProbeOver);
      } catch (const std::exception&) {
        // The first failure is the one the user is told of.
      }
    }
    throw;
  }
}

void TDataModule1::StartDetection() {
  detection_.StartDetection();
  Timer1.SetEnabled(true);  // a running timer keeps its rhythm
}

void TDataModule1::Timer1Timer() {
  if (!detection_.Timer1Timer()) return;
  Timer1.SetEnabled(false);
  if (window_) window_->ShowHourglass(false);
  ReportDetection();
}

void TDataModule1::ComPort1TriggerAvail(SerialChannel& sender, uint16_t count) {
  detection_.ComPort1TriggerAvail(sender, count);
}

void TDataModule1::ReportDetection() {
  const DetectionReport report = detection_.ReportDetection();
  if (report.foundCount >= 1 && window_) window_->PreselectUps(report.port, report.seriesCode);
  std::string text = report.text;
  // Nothing found: a port numbered above COM8 is the likely place of the UPS.
  if (report.foundCount < 1 && window_ && services_.dosDevices) {
    const TINI_LANGUAGE& texts = window_->Texts();
    text += PortsBeyondCom8Lines(SerialPortsBeyondCom8(services_.dosDevices->Names()),
                                 texts.MESSAGE_PORTS_BEYOND_COM8, texts.MESSAGE_PORTS_COM1_TO_COM8_ONLY);
  }
  Boxes().Message(text);
  services_.registry.SetNumber(kProgramKey, "RUNNING", kProbeOver);
}

void TDataModule1::EndDetection() {
  if (!Timer1.Enabled()) return;
  Timer1.SetEnabled(false);
  ComPort1.SetOpen(false);
  if (window_) window_->ShowHourglass(false);
  try {
    services_.registry.SetNumber(kProgramKey, "RUNNING", kProbeOver);
  } catch (const std::exception&) {
    // The program is ending: there is no window left to show the failure in.
  }
}
