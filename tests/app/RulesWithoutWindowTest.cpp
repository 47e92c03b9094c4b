// The settings' rules applied without a window store the same bytes as OK in
// the window, for every omb.ini the tests hold: the window starts on the
// file and OK is pressed; then the same file is loaded into a record, the
// core's rules applied and the record saved.
#include "MainWindowFixture.h"
#include "settings/SettingsRules.h"
#include "support/SettingsSamples.h"
#include "util/AppError.h"

namespace {

// The bytes OK leaves in omb.ini, or none when it refused to write.
std::optional<std::string> WithoutWindow(const std::string& path) {
  TINI ini;
  ini.Load(path);
  try {
    settings_rules::ApplyWindowRules(ini);
  } catch (const AppError&) {
    return std::nullopt;
  }
  ini.Save();
  return ReadFileBytes(path);
}

}  // namespace

class RulesWithoutWindowTest : public MainWindowTest {
 protected:
  std::optional<std::string> ThroughTheWindow(const std::string& bytes) {
    WriteSettings(bytes);
    StartQuietly();
    PressOk();
    const bool refused = !dialogs.TextsOf(FakeDialogs::Kind::Error).empty();
    std::optional<std::string> written = folder.Read("omb.ini");
    viewAll.reset();
    form.reset();
    module.reset();
    Pump();
    if (refused) return std::nullopt;
    return written;
  }
};

TEST_F(RulesWithoutWindowTest, TheCoreStoresWhatOkStoresForEverySettingsFile) {
  int compared = 0;
  for (const SettingsSample& sample : SettingsSamples()) {
    const std::optional<std::string> window = ThroughTheWindow(sample.bytes);
    folder.Write("omb.ini", sample.bytes);
    const std::optional<std::string> core = WithoutWindow(folder.File("omb.ini"));
    EXPECT_EQ(core.has_value(), window.has_value()) << sample.name;
    if (core && window) {
      EXPECT_EQ(*core, *window) << sample.name;
      ++compared;
    }
  }
  EXPECT_GT(compared, 20);
}
