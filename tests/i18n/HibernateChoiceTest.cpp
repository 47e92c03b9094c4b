// The box shown when Hibernate is chosen, for each answer the computer can
// give, in each shipped language.
#include "i18n/HibernateChoice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/FakeDialogs.h"
#include "support/FakePowerCapabilities.h"

namespace {

TINI_LANGUAGE Shipped(const std::string& language) {
  TINI_LANGUAGE texts;
  texts.Path = (std::filesystem::path(OMBREL_LANGUAGES_DIR) / language / "setup.ini").string();
  texts.Load();
  return texts;
}

}  // namespace

TEST(HibernateChoice, SaysInTheUsersLanguageWhetherThisComputerCanHibernate) {
  using Kind = FakeDialogs::Kind;
  // The texts as the language files hold them, in Windows-1252.
  struct Case {
    const char* language;
    const char* canHibernate;     // the start of the reminder that it must stay turned on
    const char* cannotHibernate;  // the start of the box that says it cannot
  };
  const Case cases[] = {
      {"English", "This computer can hibernate at present", "This computer cannot hibernate"},
      {"Deutsch", "Dieser Computer kann derzeit in den Ruhezustand", "Dieser Computer kann derzeit nicht in den Ruhezustand"},
      {"Francais", "Cet ordinateur peut passer en veille", "Cet ordinateur ne peut pas passer en veille prolong\xE9" "e"},
      {"Espanol", "Este equipo puede hibernar", "Este equipo no puede hibernar"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    const TINI_LANGUAGE texts = Shipped(c.language);
    FakePowerCapabilities power;
    FakeDialogs dialogs;

    power.state = Hibernation::kAvailable;
    ShowHibernateChoiceBox(&power, dialogs, texts);
    // Not known: the system did not answer, or nothing was asked.
    power.state = std::nullopt;
    ShowHibernateChoiceBox(&power, dialogs, texts);
    ShowHibernateChoiceBox(nullptr, dialogs, texts);
    power.state = Hibernation::kReducedFile;
    ShowHibernateChoiceBox(&power, dialogs, texts);

    ASSERT_EQ(dialogs.shown.size(), 4u);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(dialogs.shown[i].kind, Kind::Message);
      EXPECT_TRUE(dialogs.shown[i].text.starts_with(c.canHibernate)) << dialogs.shown[i].text;
    }
    EXPECT_EQ(dialogs.shown[3].kind, Kind::Warn);
    EXPECT_TRUE(dialogs.shown[3].text.starts_with(c.cannotHibernate)) << dialogs.shown[3].text;
    // The command that turns hibernation on, as typed at an administrator's prompt.
    EXPECT_TRUE(dialogs.shown[3].text.ends_with(" powercfg /hibernate on")) << dialogs.shown[3].text;
  }
}

// Where no box is seen: a line for each Hibernate, with the reason and its
// command, only when the computer says it cannot hibernate.
TEST(HibernateChoice, WarnsOfEachHibernateThisComputerCannotDo) {
  TINI settings;
  settings.POWERFAIL_SHUTDOWN_TYPE = 2;
  settings.SCHEDULE_SHUTDOWN_TYPE = 1;
  const struct {
    std::optional<Hibernation> state;
    const char* warning;  // empty: none
  } rows[] = {
      {Hibernation::kAvailable, ""},
      {std::nullopt, ""},
      {Hibernation::kOff, "turned off (powercfg /hibernate on)"},
      {Hibernation::kReducedFile, "reduced type, which serves fast start-up only (powercfg /hibernate /type full)"},
      {Hibernation::kUnsupported, "do not support hibernation"},
  };
  for (const auto& row : rows) {
    FakePowerCapabilities power;
    power.state = row.state;
    const auto warnings = HibernateWarnings(settings, &power);
    if (!*row.warning) {
      EXPECT_TRUE(warnings.empty()) << warnings.front();
      continue;
    }
    ASSERT_EQ(warnings.size(), 1u) << row.warning;
    EXPECT_TRUE(warnings[0].starts_with("WARNING: POWERFAIL_SHUTDOWN_TYPE=2 is Hibernate")) << warnings[0];
    EXPECT_TRUE(warnings[0].ends_with(row.warning)) << warnings[0];
  }
  FakePowerCapabilities off;
  off.state = Hibernation::kOff;
  settings.SCHEDULE_SHUTDOWN_TYPE = 2;
  EXPECT_EQ(HibernateWarnings(settings, &off).size(), 2u);
  EXPECT_TRUE(HibernateWarnings(settings, nullptr).empty());
}
