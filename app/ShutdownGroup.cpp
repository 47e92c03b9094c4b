#include "app/ShutdownGroup.h"

#include "settings/SettingsRules.h"

void ShutdownGroup::Build(HWND page, const ui::Group& group, const Places& at, HFONT font) {
  auto inside = [&group](const ui::Bounds& b) { return group.Inside(b.left, b.top, b.width, b.height); };
  autoSave.Create({.parent = page, .bounds = inside(at.autoSave), .caption = "Auto-Save Applications", .font = font});
  typeLabel.Create({.parent = page, .bounds = inside(at.typeLabel), .caption = "Shutdown computer type", .font = font});
  type.Create({.parent = page,
               .bounds = inside(at.type),
               .rows = {"Normal Shutdown", "Force Shutdown", "Hibernate"},
               .typing = ui::Typing::Blocked,
               .font = font});
  ups.Create({.parent = page, .bounds = inside(at.ups), .caption = "Shutdown UPS", .font = font});
}

void ShutdownGroup::ApplyLanguage(const TINI_LANGUAGE& t) {
  SetIfOther(autoSave, t.AUTO_SAVE_APPLICATIONS);
  SetIfOther(typeLabel, t.SHUTDOWN_COMPUTER_TYPE);
  SetIfOther(type, {t.NORMAL_SHUTDOWN, t.FORCE_SHUTDOWN, t.HIBERNATE});
  SetIfOther(ups, t.SHUTDOWN_UPS);
}

void ShutdownGroup::TypeChanged(IDialogs& dialogs, const TINI_LANGUAGE& texts) {
  const settings_rules::AutoSaveAfterType after = settings_rules::AutoSaveAfter(type.ItemIndex());
  if (!after.enabled) {
    autoSave.SetChecked(false);
    autoSave.SetEnabled(false);
    return;
  }
  autoSave.SetEnabled(true);
  if (after.untick) autoSave.SetChecked(false);
  if (after.warnHibernate) dialogs.Message(texts.MESSAGE_WARNING_HIBERNATE_SELECT);
}
