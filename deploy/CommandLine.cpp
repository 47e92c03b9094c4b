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
  for (const std::string& argument : arguments) quiet = quiet || isOption(argument, "quiet");
  for (const std::string& argument : arguments)
    if (isOption(argument, "?") || isOption(argument, "h") || isOption(argument, "help"))
      return {std::nullopt, {}, quiet, true};
  Command command;
  auto wrong = [quiet](const std::string& why) { return ParsedCommandLine{std::nullopt, why, quiet}; };
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-'))
      return wrong("'" + argument + "' is not an option");
    const std::string option = Lower(argument.substr(1));
    std::optional<std::string>* file = option == "export"   ? &command.exportTo
                                       : option == "import" ? &command.importFrom
                                       : option == "log"    ? &command.log
                                                            : nullptr;
    if (file) {
      if (file->has_value()) return wrong(argument + " is given twice");
      if (i + 1 >= arguments.size() || arguments[i + 1].empty()) return wrong(argument + " needs a file name");
      for (const char* name : {"export", "import", "log", "detect", "quiet"})
        if (isOption(arguments[i + 1], name)) return wrong(argument + " needs a file name");
      *file = arguments[++i];
    } else if (option == "detect" || option == "quiet") {
      bool& flag = option == "detect" ? command.detect : command.quiet;
      if (flag) return wrong(argument + " is given twice");
      flag = true;
    } else {
      return wrong("unknown option " + argument);
    }
  }
  if (command.exportTo && (command.importFrom || command.detect))
    return wrong("/export goes alone: export on one PC, import on the others");
  if (!command.exportTo && !command.importFrom && !command.detect)
    return wrong("nothing to do: give /export FILE, /import FILE or /detect");
  return {command, {}, quiet};
}

std::string Usage() {
  return "OmbrelSetup.exe [/export FILE | /import FILE [/detect] | /detect] [/quiet] [/log FILE]\r\n"
         "Run it from the monitor's folder (where SPY.EXE is): that is the folder it configures.\r\n"
         "Exit codes: 0 done; 1 wrong arguments; 2 the file cannot be read or is not a valid configuration "
         "(nothing written); 3 no UPS found (nothing written); 4 a write failed; 5 the program's window is open "
         "(nothing written); 6 the monitor is not in the program's folder, or /export found no omb.ini there "
         "(nothing written).";
}

}  // namespace deploy
