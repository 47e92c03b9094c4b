#include "deploy/Deployment.h"

#include <vector>

#include "deploy/Configuration.h"
#include "i18n/HibernateChoice.h"
#include "platform/FileSystem.h"
#include "schedule/TSchedule.h"
#include "settings/SaveOrder.h"
#include "settings/SettingsRules.h"
#include "settings/TINI.h"
#include "util/AppError.h"
#include "util/FolderOf.h"
#include "util/Sha256.h"

namespace deploy {

namespace {

void SayAll(const DeploySeams& seams, const std::vector<std::string>& lines, const std::string& prefix = "") {
  for (const std::string& line : lines) seams.say(prefix + line);
}

// The report's lines, without the blank ones between them.
void SayReport(const DeploySeams& seams, const std::string& report) {
  size_t start = 0;
  while (start < report.size()) {
    size_t end = report.find_first_of("\r\n", start);
    if (end == std::string::npos) end = report.size();
    if (end > start) seams.say(report.substr(start, end - start));
    start = end + 1;
  }
}

// Reads FILE and checks it against this PC's record and languages, as both
// /import and /check do; its bytes are kept for the record of the import.
ExitCode ReadAndCheck(const std::string& path, const TINI& settings, const std::string& folder,
                      const DeploySeams& seams, Imported& imported, std::string& bytes) {
  try {
    bytes = ReadConfigurationFile(path);
    imported = Import(bytes, settings, fs_seam::ListNamesWithoutExtension(folder + "Languages"));
    return kDone;
  } catch (const ConfigurationError& error) {
    seams.say(path + ": " + error.Text() + "; nothing written");
    return kInvalidFile;
  } catch (const fs_seam::FileError& error) {
    // The languages this PC has, which the file's LANGUAGE is checked against.
    seams.say("Cannot read folder " + folder + "Languages: " + error.what() + "; nothing written");
    return kUnreadable;
  }
}

ExitCode RunCommand(const Command& command, const DeploySeams& seams, std::string& fileBytes) {
  if (command.version) {
    seams.say(std::string("Ombrel Setup ") + kVersion);
    return kDone;
  }
  const std::string folder = FolderOf(seams.programPath);
  // The log must show which PC's files a run configured: the program's own
  // folder, which is the monitor's only when it was put there.
  seams.say("Folder: " + folder);
  if (command.importFrom || command.detect || command.check) {
    // Settings written beside no monitor configure nothing, and the start-up
    // entry would name a program that is not there.
    try {
      if (!fs_seam::FileSize(folder + kMonitorName)) {
        seams.say("The monitor is not in " + folder + ": " + kMonitorName +
                  " is missing. Copy OmbrelSetup.exe into the folder where " + kMonitorName +
                  " is (or install it there) and run it from there; nothing written");
        return kNoMonitor;
      }
    } catch (const fs_seam::FileError& error) {
      seams.say("Cannot read folder " + folder + ": " + error.what() + "; nothing written");
      return kWriteFailed;
    }
  }
  TINI settings;
  settings.Load(folder + "omb.ini");
  TSchedule schedule;
  schedule.FilePath = folder + "SCHEDULE.TXT";
  // What this PC has must be read whole: writing over a file that could not
  // be read would lose it, and an export of defaults would mislead.
  if (settings.Unreadable) {
    seams.say("Cannot open file " + settings.Path);
    return kUnreadable;
  }
  if (command.exportTo && settings.Missing) {
    // Defaults exported from the wrong folder would be spread to every PC
    // that imports them.
    seams.say("There is no omb.ini in " + folder + ": nothing to export. Run the export in the monitor's folder "
              "(a PC never configured: press OK in the window once); nothing written");
    return kNoMonitor;
  }
  try {
    schedule.LoadSchedule();
  } catch (const AppError& error) {
    seams.say(error.what());
    return kUnreadable;
  }

  if (command.check) {
    Imported imported;
    if (const ExitCode code = ReadAndCheck(*command.check, settings, folder, seams, imported, fileBytes))
      return code;
    std::vector<std::string> differences = Differences(settings, schedule, imported);
    for (const std::string& warning : HibernateWarnings(imported.settings, seams.power))
      differences.push_back(warning);
    if (differences.empty()) {
      seams.say("This PC holds every value and event of " + *command.check);
      return kDone;
    }
    SayAll(seams, differences);
    return kDiffers;
  }

  if (command.exportTo) {
    std::vector<std::string> skipped;
    const std::string bytes = Export(settings, schedule, &skipped);
    try {
      fs_seam::WriteFileAtomically(*command.exportTo, bytes);
    } catch (const fs_seam::FileError& error) {
      seams.say("Cannot create file " + *command.exportTo + ": " + error.what());
      return kWriteFailed;
    }
    SayAll(seams, skipped, "SCHEDULE.TXT line left out, not an event: ");
    seams.say("Exported to " + *command.exportTo);
    return kDone;
  }

  TINI stored = settings;
  std::vector<std::string> changes;
  std::optional<std::vector<std::string>> events;
  std::vector<std::string> languages;
  // The file is checked whole before a detection takes the monitor's port.
  auto importFile = [&](std::optional<Detected> detected) {
    Imported imported = Import(fileBytes, settings, languages, detected);
    stored = std::move(imported.settings);
    events = std::move(imported.events);
    changes = std::move(imported.changes);
  };
  if (command.importFrom) {
    try {
      fileBytes = ReadConfigurationFile(*command.importFrom);
      languages = fs_seam::ListNamesWithoutExtension(folder + "Languages");
      importFile(std::nullopt);
    } catch (const ConfigurationError& error) {
      seams.say(*command.importFrom + ": " + error.Text() + "; nothing written");
      return kInvalidFile;
    } catch (const fs_seam::FileError& error) {
      // The languages this PC has, which the file's LANGUAGE is checked against.
      seams.say("Cannot read folder " + folder + "Languages: " + error.what() + "; nothing written");
      return kUnreadable;
    }
  }

  if (command.detect) {
    DetectionReport report;
    try {
      report = seams.detect();
    } catch (const std::exception& error) {
      // The run could not start or end (RUNNING not written, the port's
      // failure): nothing of it is stored.
      seams.say(std::string(error.what()) + "; nothing written");
      return kWriteFailed;
    }
    SayReport(seams, report.text);
    if (report.foundCount < 1) {
      seams.say("No UPS found; nothing written");
      return kNoUpsFound;
    }
    // As the window preselects them: the port and the series, then the
    // series' rules on the page, once; OK stores the rest as it stands.
    if (command.importFrom) {
      // The same file, checked already: only the rules' outcome can differ.
      try {
        importFile(Detected{report.port, report.seriesCode});
      } catch (const ConfigurationError& error) {
        seams.say(*command.importFrom + ": " + error.Text() + "; nothing written");
        return kInvalidFile;
      }
    } else {
      stored.UPSPORT = report.port;
      stored.UPSTYPE = report.seriesCode;
      try {
        settings_rules::ApplyWindowRules(stored);
      } catch (const AppError& error) {
        // omb.ini holds a value OK refuses (an interval off its list).
        seams.say(ErrorBoxText(error.what()) + " (DATALOG_INTERVAL in " + settings.Path + "); nothing written");
        return kWriteFailed;
      }
      for (const std::string& change : Changes(settings, stored)) changes.push_back(change + ", detected");
    }
  }

  try {
    if (command.importFrom) {
      if (events) {
        schedule.Clear();
        for (const std::string& line : *events) {
          const size_t kindEnd = line.find(',', 11);
          schedule.Kind = line.substr(11, kindEnd - 11);
          schedule.SetEvent(line.substr(0, 10), line.substr(kindEnd + 1, 5), line.back() == '1');
        }
      }
      SaveInOrder({seams.registry, seams.shell, seams.programPath}, stored.RUN_STARTUP_STATUS, schedule, stored,
                  [] {});
    } else {
      // The detection alone changes omb.ini only, then tells the monitor,
      // once the folder's entries are durable, as OK does.
      stored.Save();
      fs_seam::FlushFolder(folder);
      seams.registry.SetNumber(kProgramKey, "SETUP", 1);
    }
  } catch (const std::exception& error) {
    seams.say(error.what());
    return kWriteFailed;
  }
  if (changes.empty()) seams.say("Nothing to change");
  SayAll(seams, changes);
  // Stored all the same: the administrator may turn hibernation on next.
  SayAll(seams, HibernateWarnings(stored, seams.power));
  return kDone;
}

// The record a detection rule or an inventory reads: when, which file (and
// which bytes), with what result. A record that cannot be written is said,
// and false: a run that had done its part then failed a write.
bool RecordImport(const Command& command, const DeploySeams& seams, const std::string& fileBytes, ExitCode code) {
  try {
    seams.registry.SetString(kProgramKey, "LastImportTime", seams.now);
    seams.registry.SetString(kProgramKey, "LastImportFile", *command.importFrom);
    seams.registry.SetString(kProgramKey, "LastImportSha256", fileBytes.empty() ? "" : Sha256Hex(fileBytes));
    seams.registry.SetNumber(kProgramKey, "LastImportResult", static_cast<uint32_t>(code));
    return true;
  } catch (const std::exception& error) {
    seams.say(std::string("The last import could not be recorded: ") + error.what());
    return false;
  }
}

}  // namespace

ExitCode Run(const Command& command, const DeploySeams& seams) {
  std::vector<std::string> lines;
  DeploySeams kept = seams;
  kept.say = [&](const std::string& line) {
    lines.push_back(line);
    seams.say(line);
  };
  std::string fileBytes;
  ExitCode code = RunCommand(command, kept, fileBytes);
  if (command.check || command.version) return code;
  // Beside no monitor the run wrote nothing, not even its record: this PC's
  // configuration was never reached.
  if (command.importFrom && code != kNoMonitor && !RecordImport(command, kept, fileBytes, code) && code == kDone)
    code = kWriteFailed;
  const bool wrote = code == kDone && (command.importFrom || command.detect);
  if (wrote || (code != kDone && code != kDiffers))
    AddEntry(seams.eventLog, wrote ? IEventLog::Kind::Information : IEventLog::Kind::Error,
             "OmbrelSetup.exe " + CommandText(command) + ": exit code " + std::to_string(code), lines);
  return code;
}

void AddEntry(IEventLog* log, IEventLog::Kind kind, const std::string& what, const std::vector<std::string>& lines) {
  if (!log) return;
  std::string text = what + "\r\nAccount: " + log->Account();
  for (const std::string& line : lines) text += "\r\n" + line;
  log->Add(kind, text);
}

std::string CommandText(const Command& command) {
  std::string text;
  auto add = [&](const std::string& part) { text += (text.empty() ? "" : " ") + part; };
  if (command.exportTo) add("/export \"" + *command.exportTo + "\"");
  if (command.importFrom) add("/import \"" + *command.importFrom + "\"");
  if (command.detect) add("/detect");
  if (command.check) add("/check \"" + *command.check + "\"");
  if (command.version) add("/version");
  return text;
}

}  // namespace deploy
