// F1 in the main window and the overview window: the help file the shell
// may know of first, else the guide's page for where the user is.
#include "app/TFormMain.h"

void TFormMain::ShowHelp(HelpPlace place) {
  // The language the interface shows: the folder of the language file read
  // at the start (a language ticked since takes effect at the next start),
  // English when that file was not there.
  std::string language = kGuideFallbackLanguage;
  if (languageRead_) {
    // The path is ...\Languages\<name>\setup.ini.
    const std::string folder = FolderOf(stores_.language->Path);
    const size_t start = folder.find_last_of('\\', folder.size() - 2);
    if (start != std::string::npos) language = folder.substr(start + 1, folder.size() - start - 2);
  }
  OpenHelp(services_.shell, ProgramFolder(), language, place);
}

HelpPlace TFormMain::PlaceOfActivePage() const {
  switch (PageControl1.ActiveIndex()) {
    case 1:
      return HelpPlace::Schedule;
    case 2:
      return HelpPlace::Others;
    default:
      return HelpPlace::Configuration;
  }
}
