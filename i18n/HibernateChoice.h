#pragma once
// The box shown when Hibernate is chosen as the way to shut down. Hibernation
// can be turned off (powercfg /hibernate off) or unsupported, and then the
// computer would stay on when the monitor asks it to hibernate: the box says
// so, and how to turn it on. The choice itself is left as made.
#include "i18n/TINI_LANGUAGE.h"
#include "platform/Dialogs.h"
#include "platform/PowerCapabilities.h"

// The warning that the computer must support hibernation when it can
// hibernate now, or when that cannot be found out (no seam, or the system
// does not answer); a warning box that it cannot, when it cannot.
void ShowHibernateChoiceBox(const IPowerCapabilities* power, IDialogs& dialogs, const TINI_LANGUAGE& texts);
