#pragma once
// The program's non-visual components, and the UPS detection that the serial
// port and the timer serve. Creating it opens no port and starts no timer.
#include <cstdint>
#include <memory>
#include <string>

#include "app/Services.h"
#include "i18n/TINI_LANGUAGE.h"
#include "schedule/TADateTime.h"
#include "ui/Timer.h"
#include "platform/SerialChannel.h"
#include "ups/UpsDetection.h"
#include "util/TAString.h"

// What a detection run shows in the main window.
class IDetectionWindow {
 public:
  virtual ~IDetectionWindow() = default;
  // The hourglass over the program's windows, on or off.
  virtual void ShowHourglass(bool on) = 0;
  // Selects port n in the port list and repaints at once.
  virtual void ShowProbedPort(int n) = 0;
  // Selects port n and ticks the series (a UPSTYPE code), adapting the page
  // as a user's tick of that series does.
  virtual void PreselectUps(int n, int seriesCode) = 0;
  // The texts in use, for the report's lines about ports beyond COM8.
  virtual const TINI_LANGUAGE& Texts() const = 0;
};

class TDataModule1 {
 private:
  // First: the components below refer to them.
  const Services& services_;
  std::unique_ptr<SerialChannel> comPort_;

 public:
  // comPort: the serial port the detection probes (the Win32 one in the program).
  TDataModule1(const Services& services, std::unique_ptr<SerialChannel> comPort, ui::ErrorSink sink);

  TADateTime ADateTime1;
  TAString AString1;
  ui::Timer Timer1;         // detection ticks, every 1000 ms while a run goes on
  SerialChannel& ComPort1;  // closed except during a run

  // The window that shows the runs, and the boxes it shows them in; none
  // until the main window exists (then the program's own boxes).
  void SetDetectionWindow(IDetectionWindow* window, IDialogs* boxes = nullptr) {
    window_ = window;
    boxes_ = boxes;
  }

  // The "Auto Detect UPS" button: asks the question; on Yes starts a run,
  // afresh when one goes on already.
  void AutoDetectClick(const std::string& question);
  void StartDetection();
  void Timer1Timer();
  void ComPort1TriggerAvail(SerialChannel& sender, uint16_t count);
  // Ends a run: preselection, the report box, RUNNING = 4.
  void ReportDetection();
  // The program ends while a run goes on: the run stops without its report,
  // the port is let go and RUNNING = 4 tells the monitor the ports are free.
  void EndDetection();

  const UpsDetection& Detection() const { return detection_; }

 private:
  UpsDetection detection_;
  IDialogs& Boxes() { return boxes_ ? *boxes_ : services_.dialogs; }

  IDetectionWindow* window_ = nullptr;
  IDialogs* boxes_ = nullptr;
};
