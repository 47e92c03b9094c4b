// The file rules run against files in memory: what a failing or missing call
// of the system does to a replaced file, to the start's reading of its files,
// and to OK's order of writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "i18n/TINI_LANGUAGE.h"
#include "platform/FileSystem.h"
#include "schedule/TSchedule.h"
#include "settings/SaveOrder.h"
#include "settings/TINI.h"
#include "support/FakeRegistry.h"
#include "support/FakeShell.h"
#include "support/MemoryFiles.h"
#include "util/AppError.h"

namespace {

const std::string kIni = "C:\\OMB\\omb.ini", kSchedule = "C:\\OMB\\SCHEDULE.TXT",
                  kLanguage = "C:\\OMB\\Languages\\English\\setup.ini";
const std::string kOldIni = "[PAGE1]\r\nUPSPORT=3\r\n; by hand\r\n";
const std::string kOldSchedule = "2024/05/20,SHUTDOWN,22:00,1\r\n";

int Temporaries(const MemoryFiles& files) {
  int count = 0;
  for (const auto& [path, file] : files.files) count += path.find(".tmp") != std::string::npos;
  return count;
}

// Each call of a replace failing, once and for good: the old bytes stay,
// the temporary goes, the caller hears of it. Written whole, the new bytes
// outlive a power cut.
TEST(FileWriting, AReplacedFileIsOldOrNewWhateverCallFails) {
  const std::string newBytes(1000, 'n');
  for (const char* call : {"inspect", "search", "remove", "create", "write", "flush", "close", "replace"}) {
    for (bool lasting : {false, true}) {
      SCOPED_TRACE(std::string(call) + (lasting ? " fails for good" : " fails once"));
      MemoryFiles files;
      files.Put(kIni, kOldIni);
      files.Put(kIni + ".tmp77", "left by a kill");  // so that the search finds one to remove
      files.faults = {{call, 1, lasting}};
      EXPECT_THROW(fs_seam::WriteFileAtomically(kIni, newBytes), fs_seam::FileError);
      EXPECT_EQ(files.Bytes(kIni), kOldIni);
      // The leftover stays only when the write stopped before removing it.
      const std::string stopped = call;
      EXPECT_EQ(Temporaries(files), stopped == "inspect" || stopped == "search" || stopped == "remove");
      files.PowerCut();
      EXPECT_EQ(files.Bytes(kIni), kOldIni);
    }
  }
  MemoryFiles files;
  files.Put(kIni, kOldIni);
  fs_seam::WriteFileAtomically(kIni, newBytes);
  files.PowerCut();
  EXPECT_EQ(files.Bytes(kIni), newBytes);
  EXPECT_EQ(Temporaries(files), 0);
}

// "Missing" comes from the open alone. An attribute query that fails, or an
// open refused on a file that is there, is a file that could not be read:
// never defaults that OK would then write over it.
TEST(FileWriting, OnlyAnOpenThatFindsNothingMakesAFileMissing) {
  struct Case {
    const char* what;
    bool present;
    std::vector<MemoryFiles::Fault> faults;
    enum { Read, Missing, Unreadable } expected;
  };
  const Case cases[] = {
      {"there", true, {}, Case::Read},
      {"not there", false, {}, Case::Missing},
      {"there, its attributes refused", true, {{"inspect", 1, true}}, Case::Read},
      {"there, pending deletion", true, {{"inspect", 1, true}, {"read", 1, true, "Access denied"}}, Case::Unreadable},
      {"there, held", true, {{"read", 1, true, "File in use by another program"}}, Case::Unreadable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryFiles files;
    if (c.present) {
      files.Put(kIni, kOldIni);
      files.Put(kSchedule, kOldSchedule);
      files.Put(kLanguage, "[COMMON_SETUP]\r\nOK=Fine\r\n");
    }
    files.faults = c.faults;

    TINI settings;
    settings.Load(kIni);
    EXPECT_EQ(settings.Unreadable, c.expected == Case::Unreadable);
    EXPECT_EQ(settings.UPSPORT, c.expected == Case::Read ? 3 : 1);

    TSchedule schedule;
    schedule.FilePath = kSchedule;
    if (c.expected == Case::Unreadable) {
      EXPECT_THROW(schedule.LoadSchedule(), AppError);
    } else {
      schedule.LoadSchedule();
      EXPECT_EQ(schedule.Count(), c.expected == Case::Read ? 1u : 0u);
    }

    TINI_LANGUAGE language;
    language.Path = kLanguage;
    const std::string failure = language.Load();
    EXPECT_EQ(failure.empty(), c.expected == Case::Read);
    EXPECT_EQ(language.OK, c.expected == Case::Read ? "Fine" : "OK");
    if (c.expected != Case::Read) {
      EXPECT_EQ(failure.find("not found") != std::string::npos, c.expected == Case::Missing) << failure;
    }
  }
}

// OK re-reads omb.ini to keep the lines edited by hand; when that read fails
// the file stays as it is rather than being rebuilt from the record alone.
TEST(FileWriting, SettingsAreNotRebuiltWhenTheirFileCannotBeReadAgain) {
  MemoryFiles files;
  files.Put(kIni, kOldIni);
  TINI settings;
  settings.Load(kIni);
  files.faults = {{"read", 2}};
  EXPECT_THROW(settings.Save(), AppError);
  EXPECT_EQ(files.Bytes(kIni), kOldIni);
  settings.Save();
  EXPECT_NE(files.Bytes(kIni)->find("; by hand"), std::string::npos);
}

// OK's order: the start-up entry, the schedule, the fields read last, the
// settings and their folder, SETUP; an entry to remove goes after the
// settings, so that a failure before them leaves the monitor starting as it
// did. A step that fails stops those after it.
TEST(FileWriting, OkWritesInOrderAndStopsAtTheFirstFailure) {
  enum Step { Entry, Schedule, Fields, Settings, Setup, None };
  for (bool runAtStartup : {true, false}) {
    const std::vector<Step> order = runAtStartup ? std::vector<Step>{Entry, Schedule, Fields, Settings, Setup}
                                                 : std::vector<Step>{Schedule, Fields, Settings, Entry, Setup};
    for (Step failing : {Entry, Schedule, Fields, Settings, Setup, None}) {
      SCOPED_TRACE(std::to_string(failing) + (runAtStartup ? " setting the entry" : " removing the entry"));
      // Whether the step was carried out before the failing one stopped the order.
      auto done = [&](Step step) {
        return failing == None ||
               std::find(order.begin(), order.end(), step) < std::find(order.begin(), order.end(), failing);
      };
      MemoryFiles files;
      files.Put(kIni, kOldIni);
      files.Put(kSchedule, kOldSchedule);
      FakeRegistry registry;
      registry.values[{kRunKey, "OMB_SPY"}] = std::string("C:\\OLD\\SPY.EXE");
      FakeShell shell;
      const std::string program = "C:\\OMB\\OmbrelSetup.exe";
      TINI settings;
      settings.Load(kIni);
      settings.UPSPORT = 4;
      TSchedule schedule;
      schedule.FilePath = kSchedule;
      schedule.LoadSchedule();
      schedule.Kind = "TESTUPS";
      schedule.SetEvent("2024/06/01", "08:00", false);
      if (failing == Entry) registry.refused.insert("OMB_SPY");
      if (failing == Setup) registry.refused.insert("SETUP");
      if (failing == Schedule) files.faults = {{"write", 1, true}};
      if (failing == Settings) files.faults = {{"write", 2, true}};
      bool fieldsRead = false;
      auto fields = [&] {
        if (failing == Fields) throw AppError("'' is not a valid integer value");
        fieldsRead = true;
      };
      if (failing == None)
        SaveInOrder({registry, shell, program}, runAtStartup, schedule, settings, fields);
      else
        EXPECT_THROW(SaveInOrder({registry, shell, program}, runAtStartup, schedule, settings, fields), AppError);

      if (runAtStartup)
        EXPECT_EQ(registry.String(kRunKey, "OMB_SPY"), done(Entry) ? "C:\\OMB\\SPY.EXE" : "C:\\OLD\\SPY.EXE");
      else
        EXPECT_EQ(registry.Has(kRunKey, "OMB_SPY"), !done(Entry));
      EXPECT_EQ(files.Bytes(kSchedule) != kOldSchedule, done(Schedule));
      EXPECT_EQ(fieldsRead, done(Fields));
      EXPECT_EQ(files.Bytes(kIni) != kOldIni, done(Settings));
      EXPECT_EQ(registry.Has(kProgramKey, "SETUP"), done(Setup));
      // The folder is flushed after the settings' rename, before SETUP.
      const bool flushed = !files.calls.empty() && files.calls.back() == "flush folder C:\\OMB\\";
      EXPECT_EQ(flushed, done(Settings));
    }
  }
}

// The start-up entry lives in one registry view: where the monitor's entry
// is (the 64-bit view when it is there alone), else the 32-bit view; it is
// removed from both.
TEST(FileWriting, TheStartUpEntryEndsInOneView) {
  enum Where { Nowhere, View32, View64, Both };
  const struct {
    Where before;
    bool runAtStartup;
    Where after;
  } kCases[] = {
      {Nowhere, true, View32}, {View32, true, View32}, {View64, true, View64}, {Both, true, View32},
      {View32, false, Nowhere}, {View64, false, Nowhere}, {Both, false, Nowhere},
  };
  const std::string in64 = FakeRegistry::In64BitView(kRunKey);
  for (const auto& c : kCases) {
    SCOPED_TRACE(std::to_string(c.before) + (c.runAtStartup ? " on" : " off"));
    MemoryFiles files;
    files.Put(kIni, kOldIni);
    FakeRegistry registry;
    if (c.before == View32 || c.before == Both) registry.values[{kRunKey, "OMB_SPY"}] = std::string("C:\\OLD\\SPY.EXE");
    if (c.before == View64 || c.before == Both) registry.values[{in64, "OMB_SPY"}] = std::string("C:\\OLD\\SPY.EXE");
    FakeShell shell;
    TINI settings;
    settings.Load(kIni);
    TSchedule schedule;
    schedule.FilePath = kSchedule;
    SaveInOrder({registry, shell, "C:\\OMB\\OmbrelSetup.exe"}, c.runAtStartup, schedule, settings, [] {});
    EXPECT_EQ(registry.String(kRunKey, "OMB_SPY"), c.after == View32 ? "C:\\OMB\\SPY.EXE" : "");
    EXPECT_EQ(registry.String(in64, "OMB_SPY"), c.after == View64 ? "C:\\OMB\\SPY.EXE" : "");
  }
}

}  // namespace
