#pragma once
// A run of the program without its window: export this PC's configuration,
// or import one and detect the UPS, storing what OK stores, in OK's order.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "deploy/CommandLine.h"
#include "platform/EventLog.h"
#include "platform/PowerCapabilities.h"
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
  IEventLog* eventLog = nullptr;  // an entry for what a run wrote or why it failed; none when null
  const IPowerCapabilities* power = nullptr;  // whether this PC can hibernate; not asked when null
  std::string now;      // when the run started, ISO 8601 UTC: the record of the last import keeps it
};

// Runs the command (never the window's part of it: the caller holds the lock
// the window holds while open) and gives its exit code. The first result line
// names the folder the run configures. An /import ends by
// recording itself under the program's key (LastImportTime, LastImportFile,
// LastImportSha256, LastImportResult), whatever its result (beside no
// monitor, where it writes nothing, excepted); a run that wrote
// adds an information entry to the event log, one that failed an error entry.
// /check and /version write nothing, not even there.
ExitCode Run(const Command& command, const DeploySeams& seams);

// One event-log entry: what ran (or "OK in the window"), who ran it, and its
// lines. An entry that cannot be added is left at that: it never changes what
// it records.
void AddEntry(IEventLog* log, IEventLog::Kind kind, const std::string& what, const std::vector<std::string>& lines);

// The command as an entry names it: "/import "FILE" /detect".
std::string CommandText(const Command& command);

}  // namespace deploy
