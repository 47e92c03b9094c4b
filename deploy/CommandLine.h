#pragma once
// The program's command line: configuring a PC without the window, for
// deployment tools and scripts. Without arguments the program opens its window.
#include <optional>
#include <string>
#include <vector>

namespace deploy {

// What a run without the window ends with; the same in every language and
// kept from one version to the next: deployment tools are set up with them.
enum ExitCode : int {
  kDone = 0,
  kWrongArguments = 1,
  kInvalidFile = 2,   // the file cannot be read or is not a valid configuration; nothing written
  kNoUpsFound = 3,    // nothing written
  kWriteFailed = 4,   // each file as it was or as it was to be
  kWindowOpen = 5,    // the program's window is open on this PC; nothing written
  kNoMonitor = 6,     // the monitor (or, for /export, its omb.ini) is not in this folder; nothing written
  kDiffers = 7,       // /check: the file is sound and this PC differs from it
  kUnreadable = 8,    // this PC's own files could not be read; nothing written
};

// The program's version, as /version prints it.
inline constexpr char kVersion[] = OMBREL_PROGRAM_VERSION;

struct Command {
  std::optional<std::string> exportTo;    // /export FILE
  std::optional<std::string> importFrom;  // /import FILE
  std::optional<std::string> check;       // /check FILE: compare, write nothing
  bool version = false;                   // /version
  bool detect = false;                    // /detect
  bool quiet = false;                     // /quiet: no window, no box
  std::optional<std::string> log;         // /log FILE
};

struct ParsedCommandLine {
  std::optional<Command> command;  // none: no arguments, or wrong ones (then error says why)
  std::string error;
  bool quiet = false;  // /quiet was among the arguments, right or wrong
  bool help = false;   // /?, /h or /help: the usage is shown, nothing done
  std::optional<std::string> log;  // the file after the first /log, right or wrong: wrong ones are logged too
};

// Options start with '/' or '-', in any letter case. /export, /check and
// /version go alone (with /quiet and /log); /import and /detect go together
// or alone. /?, /h or /help anywhere asks for the usage alone.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The lines /? shows: the options and the exit codes.
std::string Usage();

}  // namespace deploy
