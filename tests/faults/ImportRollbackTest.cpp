// The installer's rollback of an import that failed half-way, under every
// failure point of its own calls: notes taken of the PC, the import's
// changes made, then the notes put back with one call failing, once or for
// good. A fault once changes nothing of the end (each step is tried again);
// a lasting one leaves each file whole, old or the import's, no temporary
// file and no open key, and whatever was not put back is named.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "faults/FaultPlan.h"
#include "faults/RegistryPoints_win32.h"
#include "installer/ImportSnapshot.h"
#include "platform/win32/AnsiText.h"
#include "support/ScratchFolder.h"

namespace {

const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kProgramKey = "SOFTWARE\\Tarvexi\\Ombrel";
const FakeRegistry::Name kEntry32{kRunKey, "OMB_SPY"}, kEntry64{kRunKey + kView64, "OMB_SPY"},
    kSetup{kProgramKey, "SETUP"};

struct State {
  std::optional<std::string> settings, schedule;
  std::map<FakeRegistry::Name, FakeRegistry::Value> registry;
  bool operator==(const State&) const = default;
};

// A program folder and its notes, the PC as it was before the import.
struct World {
  ScratchFolder folder;
  std::wstring install = AnsiToWide(folder.Path()) + L"\\";
  std::wstring notes = install + L"notes\\";
  World() {
    folder.Write("omb.ini", "[PAGE1]\r\nUPSPORT=3\r\nRUN_STARTUP_STATUS=1\r\n");
    Hooked().Reset();
    Hooked().values[kEntry32] = std::string("C:\\OLD\\SPY.EXE");
    Hooked().values[kSetup] = 0u;
    CreateDirectoryW(notes.c_str(), nullptr);
    Faults().Disarm();
    EXPECT_EQ(TakeSnapshot(install, notes), L"");
  }
  // What the import did before it failed: every file and value changed, one
  // file and one value new.
  void Import() {
    folder.Write("omb.ini", "[PAGE1]\r\nUPSPORT=6\r\nRUN_STARTUP_STATUS=0\r\n");
    folder.Write("SCHEDULE.TXT", "2031/01/02,SHUTDOWN,21:00,1\r\n");
    Hooked().values.erase(kEntry32);
    Hooked().values[kEntry64] = std::string("C:\\NEW\\SPY.EXE");
    Hooked().values[kSetup] = 1u;
  }
  std::optional<std::string> FileOf(const std::string& name) const {
    return folder.Exists(name) ? std::optional(folder.Read(name)) : std::nullopt;
  }
  State Now() const { return {FileOf("omb.ini"), FileOf("SCHEDULE.TXT"), Hooked().values}; }
  int Temporaries() const {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
      count += entry.path().filename().string().find(".tmp") != std::string::npos;
    return count;
  }
};

TEST(ImportRollbackTest, EveryCallOfTheRollbackFailsInEveryWayItCan) {
  std::optional<State> before, imported;
  {
    World world;
    before = world.Now();
    world.Import();
    imported = world.Now();
    Faults().Count();
    const std::vector<std::wstring> said = RestoreSnapshot(world.install, world.notes);
    Faults().Disarm();
    ASSERT_EQ(world.Now(), *before) << "the undisturbed rollback did not put back the PC";
    EXPECT_EQ(said.size(), 5u);  // both files and the three values
  }
  const std::vector<Seam> seams = Faults().Seams();
  std::cout << "import rollback: " << seams.size() << " failure points\n";
  ASSERT_GT(seams.size(), 10u);

  for (int at = 1; at <= static_cast<int>(seams.size()); ++at) {
    for (FaultKind kind : KindsOf(seams[at - 1])) {
      for (bool lasting : {false, true}) {
        World world;
        world.Import();
        Faults().Arm(at, kind, lasting);
        const std::vector<std::wstring> said = RestoreSnapshot(world.install, world.notes);
        Faults().Disarm();
        const std::string run = "call " + std::to_string(at) + " (" + NameOf(seams[at - 1]) +
                                ") fails with " + NameOf(kind) + (lasting ? " for good" : " once");
        EXPECT_TRUE(Faults().Fired()) << run;
        const State now = world.Now();
        EXPECT_EQ(world.Temporaries(), 0) << run;
        EXPECT_EQ(Hooked().open.size(), 0u) << run << ": a registry key left open";
        if (!lasting) {
          EXPECT_EQ(now, *before) << run << ": not put back after a passing fault";
          continue;
        }
        // Whatever is not as before is the import's, whole, and named.
        auto named = [&said](const std::wstring& what) {
          return std::any_of(said.begin(), said.end(), [&what](const std::wstring& line) {
            return line.starts_with(L"cannot") && line.find(what) != std::wstring::npos;
          });
        };
        const bool nothingRead =
            !said.empty() && said.front().find(L"nothing put back") != std::wstring::npos;
        for (const auto& [name, was, is, left] :
             {std::tuple{"omb.ini", before->settings, imported->settings, now.settings},
              std::tuple{"SCHEDULE.TXT", before->schedule, imported->schedule, now.schedule}}) {
          EXPECT_TRUE(left == was || left == is) << run << ": " << name << " torn";
          if (left != was) {
            EXPECT_TRUE(nothingRead || named(AnsiToWide(name))) << run << ": " << name << " not named";
          }
        }
        for (const auto& [value, label] :
             {std::pair{kEntry32, L"value OMB_SPY (Windows"},
              std::pair{kEntry64, L"value OMB_SPY (64-bit view)"}, std::pair{kSetup, L"value SETUP"}}) {
          auto of = [&value](const State& state) {
            const auto found = state.registry.find(value);
            return found == state.registry.end() ? std::nullopt : std::optional(found->second);
          };
          EXPECT_TRUE(of(now) == of(*before) || of(now) == of(*imported))
              << run << ": " << value.second << " lost";
          if (of(now) != of(*before)) {
            EXPECT_TRUE(nothingRead || named(label))
                << run << ": " << value.first << " " << value.second << " not named";
          }
        }
      }
    }
  }
}

}  // namespace
