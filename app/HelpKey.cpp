// F1 in the main window and the overview window: the help file the shell
// may know of first, else the guide's page for where the user is.
#include "app/TFormMain.h"

void TFormMain::ShowHelp(HelpPlace place) {
  // The language the interface shows: the folder of the language file read
  // at the start (a language ticked since takes effect at the next start),
  // English when that file was not there.
  std::string language = kGuideFallbackLanguage;
  if (languageRead_ && !stores_.language->Language.empty()) language = stores_.language->Language;
  OpenHelp(services_.shell, ProgramFolder(), language, place);
}

void TFormMain::FormKeyDown(WPARAM key) {
  if (key != VK_F1) return;
  switch (PageControl1.ActiveIndex()) {
    case 1:
      ShowHelp(HelpPlace::Schedule);
      break;
    case 2:
      ShowHelp(HelpPlace::Others);
      break;
    default:
      ShowHelp(HelpPlace::Configuration);
      break;
  }
}
