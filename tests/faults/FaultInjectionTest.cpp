// Every failure point tried: each user operation runs once to count its calls
// into the platform seams (files, registry, dialogs, shell, serial), then once
// more for every call and every way that call can fail. After each run no file
// is torn (each is its old or its complete new bytes), no temporary file is
// left, nothing is written past a failed step, and a run that ends
// differently from the undisturbed one has told the user so in a box.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <variant>
#include <memory>
#include <string>
#include <vector>

#include "app/TFormMain.h"
#include "app/TFormViewAll.h"
#include "faults/FaultPlan.h"
#include "faults/FaultySeams.h"
#include "support/FakeClock.h"
#include "support/FakeWait.h"
#include "support/PumpMessages.h"
#include "support/RunSoon.h"
#include "support/ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kSettings[] =
    "[PAGE1]\r\nUPSPORT=3\r\nUPSTYPE=0\r\nRUN_STARTUP_STATUS=1\r\nOVERLOAD_SHUTDOWN_TIME=4\r\n"
    "; edited by hand\r\n[PAGE2]\r\nWEEKLY_SCHEDULE_SHUTDOWN_DAY=0100010\r\n[PAGE3]\r\nLANGUAGE=English\r\n"
    "EVENTLOG_RECORD=80\r\n";
// Sorted as OK writes it: an OK that changes nothing writes the same bytes.
const char kSchedule[] =
    "2024/05/20,SHUTDOWN,22:00,1\r\n2024/05/21,STARTUP,07:15,0\r\n2024/09/02,TESTUPS,12:00,0\r\n"
    "2029/09/30,SHUTDOWN,23:59,0\r\n";
const char kOldEntry[] = "C:\\OLD\\SPY.EXE";

enum class Files { None, SettingsOnly, All };

// One program folder, its fakes and its windows, made afresh for each run.
class World {
 public:
  explicit World(Files files) {
    if (files != Files::None) folder.Write("omb.ini", kSettings);
    if (files == Files::All) {
      folder.Write("SCHEDULE.TXT", kSchedule);
      fs::create_directories(folder.File("Languages\\English"));
      fs::copy_file(fs::path(OMBREL_LANGUAGES_DIR) / "English" / "setup.ini",
                    folder.File("Languages\\English\\setup.ini"));
      fs::create_directories(folder.File("skin\\setup"));
      for (const auto& entry : fs::directory_iterator(fs::path(OMBREL_SKIN_DIR) / "setup"))
        if (entry.is_regular_file())
          fs::copy_file(entry.path(), fs::path(folder.File("skin\\setup")) / entry.path().filename());
    }
    registry.values[{kRunKey, "OMB_SPY"}] = std::string(kOldEntry);
    dialogs.whileShown = [this](const FakeDialogs::Shown&) { Pump(); };
  }
  ~World() {
    viewAll.reset();
    form.reset();
    module.reset();
    Pump();
  }

  void Start() {
    services = std::make_unique<Services>(
        Services{dialogs, registry, shell, clock, wait, folder.Path() + "\\OmbrelSetup.exe"});
    auto channel = std::make_unique<FaultySerialChannel>();
    comPort = channel.get();
    comPort->AddUps(2, {"TARVEXI QZ\r\n"});
    module = std::make_unique<TDataModule1>(*services, std::move(channel),
                                            [this](const std::string& text) { dialogs.Error(text); });
    form = std::make_unique<TFormMain>(*services, *module);
    viewAll = std::make_unique<TFormViewAll>(*services, form->Handle());
    form->FormViewAll = viewAll.get();
    Pump();
  }
  void Pump() { PumpMessages(form.get()); }
  bool Open() const { return form && form->Handle() && IsWindow(form->Handle()); }
  void Click(const ui::Control& button) {
    if (!Open()) return;
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    Pump();
  }
  void PressOk() {
    dialogs.confirmAnswers.push_back(true);
    Click(form->ButtonOK);
  }

  ScratchFolder folder;
  FaultyDialogs dialogs;
  FaultyRegistry registry;
  FaultyShell shell;
  FakeClock clock{LocalDateTime{2024, 5, 17, 10, 30, 0, 0}};
  FakeWait wait;
  FaultySerialChannel* comPort = nullptr;
  std::unique_ptr<Services> services;
  std::unique_ptr<TDataModule1> module;
  std::unique_ptr<TFormMain> form;
  std::unique_ptr<TFormViewAll> viewAll;
};

// What a run leaves: the files, the registry, the boxes, the window.
struct Outcome {
  std::optional<std::string> settings, schedule;
  std::map<FakeRegistry::Name, FakeRegistry::Value> registry;
  std::vector<FakeDialogs::Shown> shown;
  bool open = false;
  int temporaries = 0;
};

std::optional<std::string> FileOf(const World& world, const std::string& name) {
  if (!world.folder.Exists(name)) return std::nullopt;
  return world.folder.Read(name);
}

Outcome OutcomeOf(World& world) {
  Outcome outcome{FileOf(world, "omb.ini"), FileOf(world, "SCHEDULE.TXT"), world.registry.values,
                  world.dialogs.shown, world.Open(), 0};
  // Each run has a folder of its own: the start-up entry names it.
  for (auto& [name, value] : outcome.registry)
    if (auto* text = std::get_if<std::string>(&value); text && text->rfind(world.folder.Path(), 0) == 0)
      *text = "<program folder>" + text->substr(world.folder.Path().size());
  for (const auto& entry : fs::directory_iterator(world.folder.Path()))
    if (entry.path().filename().string().find(".tmp") != std::string::npos) ++outcome.temporaries;
  return outcome;
}


struct Operation {
  const char* name;
  Files files;
  bool duringStart;                 // the faults fall into the start itself
  std::function<void(World&)> act;  // after the start; OK follows where it is not the act
  // The act itself writes (OK, Cancel), or the start decides what OK may
  // write: each file must then be its old or its undisturbed new bytes. After
  // Apply or a detection run cut short, the OK that follows (without faults)
  // writes what the window then holds, which may rightly differ.
  bool Writes() const {
    const std::string text = name;
    return duringStart || text.rfind("OK", 0) == 0 || text == "Cancel";
  }
};

void ChooseRow(ui::ComboBox& box, int row) {
  SendMessageW(box.Handle(), CB_SETCURSEL, row, 0);
  SendMessageW(GetParent(box.Handle()), WM_COMMAND, MAKEWPARAM(box.Id(), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box.Handle()));
}

void ApplyDatedShutdown(World& w) {
  if (!w.form->Page2.MarkerShutdown.Down()) w.Click(w.form->Page2.MarkerShutdown);
  if (SendMessageW(w.form->Page2.CheckBox5.Handle(), BM_GETCHECK, 0, 0) != BST_CHECKED) w.Click(w.form->Page2.CheckBox5);
  w.Click(w.form->Page2.ButtonApply);
}

const std::vector<Operation>& Operations() {
  static const std::vector<Operation> operations = {
      {"start, no file", Files::None, true, [](World&) {}},
      {"start, settings only", Files::SettingsOnly, true, [](World&) {}},
      {"start, every file", Files::All, true, [](World&) {}},
      {"OK, nothing changed", Files::All, false, [](World& w) { w.PressOk(); }},
      {"OK, configuration changed", Files::All, false,
       [](World& w) {
         ChooseRow(w.form->Page1.ComboBox1, 5);
         w.Click(w.form->Page1.CheckBox4);  // the start-up entry goes
         w.PressOk();
       }},
      {"OK, schedule changed", Files::All, false,
       [](World& w) {
         ApplyDatedShutdown(w);
         w.PressOk();
       }},
      {"OK, Others page changed", Files::All, false,
       [](World& w) {
         w.form->Page3.Edit3.SetText("120");
         w.Click(w.form->Page3.CheckBox7);
         w.PressOk();
       }},
      {"Cancel", Files::All, false,
       [](World& w) {
         w.dialogs.confirmAnswers.push_back(true);
         w.Click(w.form->ButtonCancel);
       }},
      {"Apply", Files::All, false, ApplyDatedShutdown},
      {"Clear", Files::All, false,
       [](World& w) {
         w.Click(w.form->Page2.MarkerShutdown);
         w.Click(w.form->Page2.ButtonClear);
       }},
      {"Reset", Files::All, false, [](World& w) { w.Click(w.form->Page2.ButtonReset); }},
      {"View All", Files::All, false,
       [](World& w) {
         HWND view = w.viewAll->Handle();
         RunSoon([view] { PostMessageW(view, WM_CLOSE, 0, 0); });
         w.Click(w.form->Page2.ButtonViewAll);
       }},
      {"detection run", Files::All, false,
       [](World& w) {
         w.dialogs.confirmAnswers.push_back(true);
         w.Click(w.form->Page1.ButtonAutoDetect);
         ui::Timer& timer = w.module->Timer1;
         if (timer.Enabled()) KillTimer(timer.Handle(), 1);
         for (int tick = 0; tick < 200 && timer.Enabled(); ++tick) {
           SendMessageW(timer.Handle(), WM_TIMER, 1, 0);
           w.comPort->Deliver();
           w.Pump();
         }
       }},
  };
  return operations;
}

// One run of the operation, the plan armed for its part only; OK follows,
// without faults, where the operation itself writes nothing (a start, Apply,
// a detection run), so that what it left in the window reaches the files.
Outcome RunOperation(const Operation& operation, int at, FaultKind kind) {
  World world(operation.files);
  if (operation.duringStart) Faults().Arm(at, kind);
  world.Start();
  if (operation.duringStart)
    Faults().Disarm();
  else
    Faults().Arm(at, kind);
  operation.act(world);
  Faults().Disarm();
  const std::string name = operation.name;
  const bool acted = name.rfind("OK", 0) == 0 || name == "Cancel";
  if (!acted && world.Open()) world.PressOk();
  return OutcomeOf(world);
}

struct Tally {
  int operations = 0, points = 0, tried = 0, runs = 0, torn = 0;
  std::map<FaultKind, int> kinds;
};

// Every stride-th failure point is tried (1: all); scripts/test tries a
// sample, scripts/fault-sweep all of them.
int Stride() {
  const char* stride = std::getenv("OMBREL_FAULT_STRIDE");
  return stride && std::atoi(stride) > 0 ? std::atoi(stride) : 1;
}

class FaultInjectionTest : public ::testing::TestWithParam<size_t> {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
  }
  static Tally tally;
  static void TearDownTestSuite() {
    std::cout << "fault injection: " << tally.operations << " operations, " << tally.points
              << " failure points, " << tally.tried << " of them tried, " << tally.runs << " runs (";
    for (const auto& [kind, count] : tally.kinds) std::cout << NameOf(kind) << " " << count << ", ";
    std::cout << "), " << tally.torn << " torn files, 0 crashes\n";
  }
};
Tally FaultInjectionTest::tally;

std::string Describe(const Operation& operation, int at, Seam seam, FaultKind kind) {
  return std::string(operation.name) + ": call " + std::to_string(at) + " (seam " +
         std::to_string(static_cast<int>(seam)) + ") fails with " + NameOf(kind);
}

void ExpectWholeFile(const std::optional<std::string>& now, const std::optional<std::string>& before,
                     const std::optional<std::string>& after, const std::string& name, const std::string& run,
                     int& torn) {
  if (now == before || now == after) return;
  ++torn;
  ADD_FAILURE() << run << ": " << name << " is neither its old nor its new bytes";
}

TEST_P(FaultInjectionTest, EveryCallFailsInEveryWayItCan) {
  {
    const Operation& operation = Operations()[GetParam()];
    Faults().Count();
    const Outcome clean = RunOperation(operation, -1, FaultKind::AccessDenied);
    const std::vector<Seam> seams = Faults().Seams();
    const World untouched(operation.files);
    const std::optional<std::string> oldSettings = FileOf(untouched, "omb.ini");
    const std::optional<std::string> oldSchedule = FileOf(untouched, "SCHEDULE.TXT");
    const bool cleanWroteEntry = clean.registry != untouched.registry.values;
    ++tally.operations;
    tally.points += static_cast<int>(seams.size());

    for (int at = 1 + static_cast<int>(GetParam()) % Stride(); at <= static_cast<int>(seams.size());
         at += Stride()) {
      for (FaultKind kind : KindsOf(seams[at - 1])) {
        if (kind == KindsOf(seams[at - 1]).front()) ++tally.tried;
        const Outcome outcome = RunOperation(operation, at, kind);
        const std::string run = Describe(operation, at, seams[at - 1], kind);
        ++tally.runs;
        ++tally.kinds[kind];
        if (operation.Writes()) {
          ExpectWholeFile(outcome.settings, oldSettings, clean.settings, "omb.ini", run, tally.torn);
          ExpectWholeFile(outcome.schedule, oldSchedule, clean.schedule, "SCHEDULE.TXT", run, tally.torn);
        }
        EXPECT_EQ(outcome.temporaries, 0) << run;
        // The order of OK: the start-up entry, the schedule, the settings, SETUP.
        const bool scheduleNotWritten = clean.schedule != oldSchedule && outcome.schedule == oldSchedule;
        if (scheduleNotWritten) {
          EXPECT_EQ(outcome.settings, oldSettings) << run << ": settings written after the schedule failed";
        }
        const bool settingsNotWritten = clean.settings != oldSettings && outcome.settings == oldSettings;
        if (settingsNotWritten) {
          EXPECT_EQ(outcome.registry.count({kProgramKey, "SETUP"}), 0u) << run << ": SETUP after a failure";
        }
        if (cleanWroteEntry && outcome.registry == untouched.registry.values) {
          EXPECT_EQ(outcome.schedule, oldSchedule) << run << ": schedule written after the entry failed";
        }
        // A run that ended otherwise than the undisturbed one says so, unless
        // what failed was a box itself.
        const bool different = outcome.settings != clean.settings || outcome.schedule != clean.schedule ||
                               outcome.registry != clean.registry || outcome.open != clean.open;
        // The short form of a path that the system cannot give is the path
        // itself, by design: the start-up entry then names the long path.
        const Seam seam = seams[at - 1];
        if (different && seam != Seam::Dialog && seam != Seam::Shell) {
          EXPECT_NE(outcome.shown, clean.shown)
              << run << ": ended differently without a word (settings "
              << (outcome.settings != clean.settings) << ", schedule " << (outcome.schedule != clean.schedule)
              << ", registry " << (outcome.registry != clean.registry) << ", window " << outcome.open << ")";
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultInjectionTest, ::testing::Range<size_t>(0, Operations().size()),
                         [](const auto& info) {
                           std::string name;
                           for (char c : std::string(Operations()[info.param].name))
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           return name;
                         });

}  // namespace
