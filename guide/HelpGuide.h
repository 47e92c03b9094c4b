#pragma once
// F1: the help file the shell may know of, else the program's own guide, a
// folder of HTML pages per language under Help\ in the program folder.
#include <string>

#include "platform/Shell.h"

// Where the user is when asking for help; each has a page of the guide. The
// contents page is where the Start menu's shortcut opens it.
enum class HelpPlace { Configuration, Schedule, Others, Overview, Contents };

// The help file handed to the shell first, by its bare name.
inline constexpr char kHelpFile[] = "Ombrel_T.hlp";
// The guide's language when the one in use has no guide.
inline constexpr char kGuideFallbackLanguage[] = "English";

// The file name of a place's page within a language's folder of the guide.
const char* GuidePageName(HelpPlace place);

// The full path of a place's page: program folder + "Help\" + language + "\"
// + page, in the given language when the program folder holds that page,
// else in English. A language name that would lead out of the Help folder
// counts as one without a guide.
std::string GuidePage(const std::string& programFolder, const std::string& language, HelpPlace place);

// The guide's contents page in the language the program's settings (omb.ini
// in the program folder) name, as GuidePage chooses it: English when they
// name none, or one without a guide.
std::string GuideContentsPage(const std::string& programFolder);

// Hands the help file to the shell; when the shell reports that it could not
// open it (no such file, or no viewer for .hlp files, as on every Windows
// since Vista), opens the guide's page for the place instead.
void OpenHelp(IShell& shell, const std::string& programFolder, const std::string& language, HelpPlace place);
