#pragma once
// The box shown when Hibernate is chosen as the way to shut down. Hibernation
// can be turned off (powercfg /hibernate off) or unsupported, and then the
// computer would stay on when the monitor asks it to hibernate: the box says
// so, and how to turn it on. The choice itself is left as made.
#include <string>
#include <vector>

#include "i18n/TINI_LANGUAGE.h"
#include "platform/Dialogs.h"
#include "platform/PowerCapabilities.h"
#include "settings/TINI.h"

// The warning that the computer must support hibernation when it can
// hibernate now, or when that cannot be found out (no seam, or the system
// does not answer); a warning box that it cannot, when it cannot.
void ShowHibernateChoiceBox(const IPowerCapabilities* power, IDialogs& dialogs, const TINI_LANGUAGE& texts);

// Where no one sees the box (an import, /check, OK's event-log entry): one
// line for each shutdown the record sets to Hibernate on a computer that
// cannot hibernate, saying why and how to change that; none when it can or
// when that cannot be found out. The value is stored all the same: the
// administrator may turn hibernation on next.
std::vector<std::string> HibernateWarnings(const TINI& settings, const IPowerCapabilities* power);
