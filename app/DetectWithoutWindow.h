#pragma once
// The Auto Detect UPS button's run without the main window, its question
// answered Yes: the same ports, the same ticks, the same report and RUNNING
// values. The command line's /detect.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/Services.h"
#include "platform/Dialogs.h"
#include "platform/SerialChannel.h"
#include "ui/Window.h"
#include "ups/UpsDetection.h"

class TDataModule1;

// The boxes of a run without a window: every question is answered Yes, a
// failure is thrown, the last message is kept for the result lines.
class KeptReport : public IDialogs {
 public:
  std::optional<std::string> report;
  void Message(const std::string& text) override { report = text; }
  void Error(const std::string& text) override;
  void Warn(const std::string&) override {}
  bool Confirm(const std::string&) override { return true; }
  bool AskWarning(const std::string&) override { return true; }
  std::optional<std::string> BrowseForFolder(const std::string&, const std::string&) override { return {}; }
};

// makePort gives the run's serial channel, whose failures go to the sink it
// is given; next waits for the run's next event and handles it, false when no
// event can come any more. Throws AppError when the run fails or is cut short.
DetectionReport DetectWithoutWindow(const Services& services,
                                    const std::function<std::unique_ptr<SerialChannel>(ui::ErrorSink)>& makePort,
                                    const std::function<bool(TDataModule1&)>& next);
