// Input rules of single fields: spinners, the cable list, folder browsing and
// the shutdown type.
#include "app/TFormMain.h"
#include "i18n/HibernateChoice.h"

namespace {

constexpr char kBrowsePrompt[] = "Please specific Ombrel Folder";
constexpr char kBrowseTitle[] = "Browse for Ombrel Folder";

bool EndsWithBackslash(const std::string& path) {
  return !path.empty() && path.back() == '\\';
}

// Force Shutdown leaves no time to save applications; Hibernate starts with
// auto-save off and a box on whether this computer can hibernate.
void ApplyShutdownType(ui::ComboBox& type, ui::CheckBox& autoSave, IDialogs& dialogs,
                       const TINI_LANGUAGE& texts, const IPowerCapabilities* power) {
  if (type.ItemIndex() == 1) {
    autoSave.SetChecked(false);
    autoSave.SetEnabled(false);
    return;
  }
  autoSave.SetEnabled(true);
  if (type.ItemIndex() == 2) {
    autoSave.SetChecked(false);
    ShowHibernateChoiceBox(power, dialogs, texts);
  }
}

}  // namespace

void TFormMain::UpDown1Click(int position) {
  Edit1.SetText(std::to_string(position));
}

void TFormMain::UpDown2Click(int position) {
  Edit2.SetText(std::to_string(position));
}

void TFormMain::CheckListBox4ClickCheck(int selected) {
  CheckListBox4.UntickAllBut(selected);
}

void TFormMain::SpeedButton1Click() {
  std::optional<std::string> folder = dialogs_.BrowseForFolder(kBrowsePrompt, kBrowseTitle);
  if (!folder) return;
  Edit4.SetText(*folder + (EndsWithBackslash(*folder) ? "" : "\\") + "EVENTLOG.TXT");
}

void TFormMain::SpeedButton2Click() {
  std::optional<std::string> folder = dialogs_.BrowseForFolder(kBrowsePrompt, kBrowseTitle);
  if (!folder) return;
  Edit6.SetText(*folder + (EndsWithBackslash(*folder) ? "" : "\\"));
}

void TFormMain::ComboBox3Change() {
  ApplyShutdownType(ComboBox3, CheckBox2, dialogs_, *language_, services_.power);
}

void TFormMain::ComboBox11Change() {
  ApplyShutdownType(ComboBox11, CheckBox6, dialogs_, *language_, services_.power);
}
