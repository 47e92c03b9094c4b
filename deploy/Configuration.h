#pragma once
// One PC's configuration as a text file an administrator can read, edit and
// hand to other PCs: the omb.ini keys the window edits, one KEY=value a line
// under [PAGE1], [PAGE2] and [PAGE3], and the dated events of SCHEDULE.TXT
// under [SCHEDULE], one a line in that file's own form. The first line names
// the format and its version. The file is UTF-8 with CR LF line ends.
//
// Importing checks every value with the window's rules; keys the file does
// not name keep the values the PC has, and a file without [SCHEDULE] keeps
// the PC's events.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/TSchedule.h"
#include "settings/TINI.h"

namespace deploy {

inline constexpr std::string_view kFormatName = "Ombrel Setup configuration";
inline constexpr int kFormatVersion = 1;
// Every event the schedule page can make (201 years, three kinds a day) and
// every key fit in less; a larger file is refused before it is read.
inline constexpr uint64_t kLargestFile = 8 * 1024 * 1024;

// What is wrong with a configuration file; line is 0 when the fault is not
// on one line (a missing file, one too large).
class ConfigurationError : public std::runtime_error {
 public:
  ConfigurationError(int line, const std::string& what) : std::runtime_error(what), line_(line) {}
  int Line() const { return line_; }
  // "line 12: ..." or the text alone.
  std::string Text() const;

 private:
  int line_;
};

// The file's bytes for a record and a schedule store. The events are written
// in the order SCHEDULE.TXT is saved in; lines of the store that are not
// events are left out and named in skipped.
std::string Export(const TINI& settings, const TSchedule& schedule, std::vector<std::string>* skipped = nullptr);

struct Imported {
  TINI settings;  // the PC's record with the file's values and the window's rules applied
  std::optional<std::vector<std::string>> events;  // the new SCHEDULE.TXT lines; none: keep the PC's
  std::vector<std::string> changes;  // what differs from the PC's record, one line each
};

// The port and series a detection found, which win over the file's.
struct Detected {
  int32_t port;
  int32_t series;
};

// Checks the whole file against present (the PC's record) and the language
// folders this PC has; throws ConfigurationError at the first fault. With a
// detection, its port and series are set before the window's rules run, so
// that the rules run once, on the series the PC has.
Imported Import(std::string_view bytes, const TINI& present, const std::vector<std::string>& languages,
                std::optional<Detected> detected = std::nullopt);

// What an import of the file would change on this PC, one line each:
// "KEY: this PC old, the file new" for a value, "SCHEDULE: event: in the file,
// not on this PC" (or the other way) for an event. Empty when the PC holds
// every value and event of the file.
std::vector<std::string> Differences(const TINI& present, const TSchedule& schedule, const Imported& imported);

// "KEY=value (was old)" for each key of the file whose value differs.
std::vector<std::string> Changes(const TINI& before, const TINI& after);

// The file's bytes; throws ConfigurationError when it is missing, a folder,
// too large (checked before reading) or unreadable.
std::string ReadConfigurationFile(const std::string& path);

}  // namespace deploy
