#include "guide/HelpGuide.h"

#include "platform/FileSystem.h"
#include "settings/TINI.h"

namespace {

// A folder name of Help\: not empty, no separator, not "." or "..".
bool PlainFolderName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string::npos;
}

}  // namespace

const char* GuidePageName(HelpPlace place) {
  switch (place) {
    case HelpPlace::Configuration:
      return "configuration.html";
    case HelpPlace::Schedule:
      return "schedule.html";
    case HelpPlace::Others:
      return "others.html";
    case HelpPlace::Overview:
      return "overview.html";
    case HelpPlace::Contents:
      break;
  }
  return "index.html";
}

std::string GuidePage(const std::string& programFolder, const std::string& language, HelpPlace place) {
  const std::string help = programFolder + "Help\\";
  const std::string page = GuidePageName(place);
  if (PlainFolderName(language)) {
    std::string path = help + language + "\\" + page;
    if (fs_seam::FileExists(path)) return path;
  }
  return help + kGuideFallbackLanguage + "\\" + page;
}

std::string GuideContentsPage(const std::string& programFolder) {
  TINI ini;
  ini.Load(programFolder + "omb.ini");
  return GuidePage(programFolder, ini.LANGUAGE, HelpPlace::Contents);
}

void OpenHelp(IShell& shell, const std::string& programFolder, const std::string& language, HelpPlace place) {
  if (shell.Open(kHelpFile)) return;
  shell.Open(GuidePage(programFolder, language, place));
}
