#include "deploy/CommandLine.h"

namespace deploy {

namespace {

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return {};
  auto isOption = [](const std::string& argument, const std::string& name) {
    return argument.size() > 1 && (argument[0] == '/' || argument[0] == '-') && Lower(argument.substr(1)) == name;
  };
  // Even wrong arguments must not bring up a box when /quiet is among them.
  bool quiet = false;
  std::optional<std::string> log;
  for (size_t i = 0; i < arguments.size(); ++i) {
    quiet = quiet || isOption(arguments[i], "quiet");
    if (!log && isOption(arguments[i], "log") && i + 1 < arguments.size() && !arguments[i + 1].empty() &&
        arguments[i + 1][0] != '/' && arguments[i + 1][0] != '-')
      log = arguments[i + 1];
  }
  for (const std::string& argument : arguments)
    if (isOption(argument, "?") || isOption(argument, "h") || isOption(argument, "help"))
      return {std::nullopt, {}, quiet, true, log};
  Command command;
  auto wrong = [&](const std::string& why) { return ParsedCommandLine{std::nullopt, why, quiet, false, log}; };
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-'))
      return wrong("'" + argument + "' is not an option");
    const std::string option = Lower(argument.substr(1));
    std::optional<std::string>* file = option == "export"   ? &command.exportTo
                                       : option == "import" ? &command.importFrom
                                       : option == "check"  ? &command.check
                                       : option == "log"    ? &command.log
                                                            : nullptr;
    if (file) {
      if (file->has_value()) return wrong(argument + " is given twice");
      if (i + 1 >= arguments.size() || arguments[i + 1].empty()) return wrong(argument + " needs a file name");
      for (const char* name : {"export", "import", "check", "log", "detect", "quiet", "version"})
        if (isOption(arguments[i + 1], name)) return wrong(argument + " needs a file name");
      *file = arguments[++i];
    } else if (option == "detect" || option == "quiet" || option == "version") {
      bool& flag = option == "detect" ? command.detect : option == "quiet" ? command.quiet : command.version;
      if (flag) return wrong(argument + " is given twice");
      flag = true;
    } else {
      return wrong("unknown option " + argument);
    }
  }
  const int tasks = command.exportTo.has_value() + command.check.has_value() + command.version +
                    (command.importFrom || command.detect);
  if (tasks > 1) {
    if (command.exportTo && !command.check && !command.version)
      return wrong("/export goes alone: export on one PC, import on the others");
    return wrong(std::string(command.check ? "/check" : "/version") + " goes alone");
  }
  if (tasks == 0) return wrong("nothing to do: give /export FILE, /import FILE, /detect or /check FILE");
  return {command, {}, quiet, false, command.log};
}

std::string Usage() {
  return "OmbrelSetup.exe [/export FILE | /import FILE [/detect] | /detect | /check FILE | /version] [/quiet] "
         "[/log FILE]\r\n"
         "Run it from the monitor's folder (where SPY.EXE is): that is the folder it configures.\r\n"
         "Exit codes: 0 done (for /check: this PC holds the file); 1 wrong arguments; 2 the file cannot be read or "
         "is not a valid configuration (nothing written); 3 no UPS found (nothing written); 4 a write failed; 5 the "
         "program's window is open (nothing written; try again later); 6 the monitor is not in the program's "
         "folder, or /export found no omb.ini there (nothing written); 7 this PC differs from the file (/check); "
         "8 this PC's files cannot be read (nothing written).";
}

}  // namespace deploy
