#pragma once
// The two shutdown parameter groups, of the power-fail shutdown and of the
// schedule, hold the same controls: Auto-Save, the type, "Shutdown UPS".
#include "app/ClosingDialogs.h"
#include "app/PageParts.h"
#include "i18n/TINI_LANGUAGE.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Group.h"
#include "ui/Label.h"

struct ShutdownGroup {
  ui::CheckBox& autoSave;
  ui::Label& typeLabel;
  ui::ComboBox& type;
  ui::CheckBox& ups;

  // Places relative to the group.
  struct Places {
    ui::Bounds autoSave{};
    ui::Bounds typeLabel{};
    ui::Bounds type{};
    ui::Bounds ups{};
  };
  void Build(HWND page, const ui::Group& group, const Places& at, HFONT font);
  void ApplyLanguage(const TINI_LANGUAGE& t);
  // The user chose another type: the Auto-Save box follows it.
  void TypeChanged(IDialogs& dialogs, const TINI_LANGUAGE& texts);
};
