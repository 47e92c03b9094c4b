#pragma once
// A run of the program without its window: export this PC's configuration,
// or import one and detect the UPS, storing what OK stores, in OK's order.
#include <functional>
#include <optional>
#include <string>

#include "deploy/CommandLine.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "ups/UpsDetection.h"

namespace deploy {

struct DeploySeams {
  IRegistry& registry;
  IShell& shell;
  std::string programPath;  // the running program: omb.ini and SCHEDULE.TXT lie beside it
  // The Auto Detect UPS probe of ports 1 to 8, its RUNNING values included.
  std::function<DetectionReport()> detect;
  // One result line: what was changed, the detection report, the error.
  std::function<void(const std::string&)> say;
};

// Runs the command (never the window's part of it: the caller holds the lock
// the window holds while open) and gives its exit code. The first result line
// names the folder the run configures.
ExitCode Run(const Command& command, const DeploySeams& seams);

}  // namespace deploy
