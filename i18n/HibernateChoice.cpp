#include "i18n/HibernateChoice.h"

#include <optional>
#include <utility>

void ShowHibernateChoiceBox(const IPowerCapabilities* power, IDialogs& dialogs, const TINI_LANGUAGE& texts) {
  if (power && power->CanHibernate() == false)
    dialogs.Warn(texts.MESSAGE_HIBERNATE_NOT_AVAILABLE);
  else
    dialogs.Message(texts.MESSAGE_WARNING_HIBERNATE_SELECT);
}

std::vector<std::string> HibernateWarnings(const TINI& settings, const IPowerCapabilities* power) {
  constexpr int kHibernate = 2;  // the third shutdown type of both lists
  const std::optional<Hibernation> state = power ? power->HibernationState() : std::nullopt;
  if (!state || *state == Hibernation::kAvailable) return {};
  const char* why = *state == Hibernation::kOff ? "hibernation is turned off (powercfg /hibernate on)"
                    : *state == Hibernation::kReducedFile
                        ? "its hibernation file is the reduced type, which serves fast start-up only "
                          "(powercfg /hibernate /type full)"
                        : "its hardware or drivers do not support hibernation";
  std::vector<std::string> warnings;
  for (auto [name, type] : {std::pair{"POWERFAIL_SHUTDOWN_TYPE", settings.POWERFAIL_SHUTDOWN_TYPE},
                            std::pair{"SCHEDULE_SHUTDOWN_TYPE", settings.SCHEDULE_SHUTDOWN_TYPE}})
    if (type == kHibernate)
      warnings.push_back(std::string("WARNING: ") + name + "=2 is Hibernate, but this PC cannot hibernate: " + why);
  return warnings;
}
