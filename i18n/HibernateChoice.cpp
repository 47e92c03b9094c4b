#include "i18n/HibernateChoice.h"

void ShowHibernateChoiceBox(const IPowerCapabilities* power, IDialogs& dialogs, const TINI_LANGUAGE& texts) {
  if (power && power->CanHibernate() == false)
    dialogs.Warn(texts.MESSAGE_HIBERNATE_NOT_AVAILABLE);
  else
    dialogs.Message(texts.MESSAGE_WARNING_HIBERNATE_SELECT);
}
