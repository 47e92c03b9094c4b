// Every failure point tried: each user operation runs once to count its calls
// into the platform seams (files, registry, dialogs, shell, serial), then once
// more for every call and every way that call can fail, once and for good.
// After each run the fault fired, no file is torn (each is its old or its
// complete new bytes) and no registry value lost, no temporary file is left,
// nothing is written past a failed step, and a run that ends differently from
// the undisturbed one has told the user so in a box.
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
#include <set>
#include <tuple>
#include <algorithm>
#include <optional>
#include <variant>
#include <memory>
#include <string>
#include <vector>

#include "app/DetectWithoutWindow.h"
#include "app/TFormMain.h"
#include "app/TFormViewAll.h"
#include "deploy/Deployment.h"
#include "faults/FaultPlan.h"
#include "faults/FaultySeams.h"
#include "faults/RegistryPoints_win32.h"
#include "platform/win32/Win32Registry.h"
#include "faults/SerialPoints_win32.h"
#include "platform/win32/Win32SerialChannel.h"
#include "support/FakeClock.h"
#include "support/FakeWait.h"
#include "support/PumpMessages.h"
#include "support/RunSoon.h"
#include "support/ScratchFolder.h"

namespace {

namespace fs = std::filesystem;

const char kSettings[] =
    "[PAGE1]\r\nUPSPORT=3\r\nUPSTYPE=0\r\nRUN_STARTUP_STATUS=1\r\nOVERLOAD_SHUTDOWN_TIME=4\r\n"
    "; edited by hand\r\n[PAGE2]\r\nWEEKLY_SCHEDULE_SHUTDOWN_DAY=0100010\r\n[PAGE3]\r\nLANGUAGE=English\r\n"
    "EVENTLOG_RECORD=80\r\n";
// Sorted as OK writes it: an OK that changes nothing writes the same bytes.
const char kSchedule[] =
    "2024/05/17,SHUTDOWN,22:30,0\r\n2024/05/20,SHUTDOWN,22:00,1\r\n2024/05/21,STARTUP,07:15,0\r\n2024/09/02,TESTUPS,12:00,0\r\n"
    "2029/09/30,SHUTDOWN,23:59,0\r\n";
const char kOldEntry[] = "C:\\OLD\\SPY.EXE";

// The program's folder: no file, omb.ini alone, or every file beside the
// monitor with its start-up entry in the 32-bit view (or in the 64-bit view alone).
enum class Files { None, SettingsOnly, All, AllEntryIn64BitView };

// One program folder, its fakes and its windows, made afresh for each run.
class World {
 public:
  explicit World(Files files) {
    if (files != Files::None) folder.Write("omb.ini", kSettings);
    if (files == Files::All || files == Files::AllEntryIn64BitView) {
      folder.Write("SCHEDULE.TXT", kSchedule);
      folder.Write("SPY.EXE", "");
      fs::create_directories(folder.File("Languages\\English"));
      fs::copy_file(fs::path(OMBREL_LANGUAGES_DIR) / "English" / "setup.ini",
                    folder.File("Languages\\English\\setup.ini"));
      fs::create_directories(folder.File("Languages\\Francais"));  // a second language to tick
      fs::create_directories(folder.File("skin\\setup"));
      for (const auto& entry : fs::directory_iterator(fs::path(OMBREL_SKIN_DIR) / "setup"))
        if (entry.is_regular_file())
          fs::copy_file(entry.path(), fs::path(folder.File("skin\\setup")) / entry.path().filename());
    }
    Hooked().Reset();
    Hooked().values[{files == Files::AllEntryIn64BitView ? FakeRegistry::In64BitView(kRunKey) : kRunKey, "OMB_SPY"}] =
        std::string(kOldEntry);
    dosDevices.names = {"COM1", "COM2", "COM11"};
    dialogs.whileShown = [this](const FakeDialogs::Shown&) { Pump(); };
  }
  ~World() {
    viewAll.reset();
    form.reset();
    module.reset();
    Pump();
  }

  void Start() {
    services = std::make_unique<Services>(Services{dialogs, registry, shell, clock, wait,
                                                   folder.Path() + "\\OmbrelSetup.exe", nullptr, &folderRights,
                                                   &dosDevices, nullptr, &eventLog});
    PreparePorts();
    auto channel = std::make_unique<Win32SerialChannel>([this](const std::string& text) { dialogs.Error(text); });
    module = std::make_unique<TDataModule1>(*services, std::move(channel),
                                            [this](const std::string& text) { dialogs.Error(text); });
    form = std::make_unique<TFormMain>(*services, *module);
    viewAll = std::make_unique<TFormViewAll>(*services, form->Handle());
    form->FormViewAll = viewAll.get();
    Pump();
  }
  // The ports' devices: the UPS on COM2 unless the run finds nothing.
  void PreparePorts() {
    emulated_ports::Reset();
    Faults().beforeEachCall = emulated_ports::Settle;
    if (withUps) emulated_ports::AddUps(2, "TARVEXI QZ\r\n");
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
  void ToggleTick(ui::TickList& list, int row) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(list.Checked(row) ? 1 : 2);
    SendMessageW(list.Handle(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    Pump();
  }

  ScratchFolder folder;
  FaultyDialogs dialogs;
  Win32Registry registry;  // the shipped one, over the registry the hooks keep
  FaultyShell shell;
  FaultyFolderRights folderRights;
  FaultyDosDevices dosDevices;
  FaultyEventLog eventLog;
  bool withUps = true;
  FakeClock clock{LocalDateTime{2024, 5, 17, 10, 30, 0, 0}};
  FakeWait wait;
  std::unique_ptr<Services> services;
  std::unique_ptr<TDataModule1> module;
  std::unique_ptr<TFormMain> form;
  std::unique_ptr<TFormViewAll> viewAll;
  // A run of the command line: its exit code and its result lines.
  std::optional<int> exitCode;
  std::vector<std::string> said;
};

// What a run leaves: the files, the registry, the boxes, the window.
struct Outcome {
  std::optional<std::string> settings, schedule;
  std::map<FakeRegistry::Name, FakeRegistry::Value> registry;
  std::vector<FakeDialogs::Shown> shown;
  bool open = false;
  int temporaries = 0;
  std::map<FakeRegistry::Name, std::optional<FakeRegistry::Value>> refused;  // values whose change was reported failed, as left then
  int openKeys = 0;
  std::optional<int> exitCode;
  std::vector<std::string> said;
  bool stuck = false;  // the serial port's reading thread never came to rest
};

std::optional<std::string> FileOf(const World& world, const std::string& name) {
  if (!world.folder.Exists(name)) return std::nullopt;
  return world.folder.Read(name);
}

Outcome OutcomeOf(World& world) {
  Outcome outcome{FileOf(world, "omb.ini"), FileOf(world, "SCHEDULE.TXT"), Hooked().values,
                  world.dialogs.shown, world.Open(), 0, {}, 0, world.exitCode, world.said};
  // Each run has a folder of its own: the start-up entry names it.
  for (auto& [name, value] : outcome.registry)
    if (auto* text = std::get_if<std::string>(&value); text && text->rfind(world.folder.Path(), 0) == 0)
      *text = "<program folder>" + text->substr(world.folder.Path().size());
  for (const auto& entry : fs::directory_iterator(world.folder.Path()))
    if (entry.path().filename().string().find(".tmp") != std::string::npos) ++outcome.temporaries;
  outcome.refused = Hooked().failed;
  outcome.openKeys = static_cast<int>(Hooked().open.size());
  outcome.stuck = emulated_ports::Stuck();
  return outcome;
}


struct Operation {
  const char* name;
  Files files;
  bool duringStart;                 // the faults fall into the start itself
  std::function<void(World&)> act;  // after the start; OK follows where it is not the act
  // An operation whose undisturbed end is also a rightful end of this one,
  // which the user is told of: a detection whose UPS cannot be reached finds
  // nothing, and leaves the port list on the last port it could probe.
  const char* otherEnding = nullptr;
  bool window = true;  // false: a run of the command line, without the window
};

void ChooseRow(ui::ComboBox& box, int row) {
  SendMessageW(box.Handle(), CB_SETCURSEL, row, 0);
  SendMessageW(GetParent(box.Handle()), WM_COMMAND, MAKEWPARAM(box.Id(), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(box.Handle()));
}

void Detect(World& w) {
  w.dialogs.confirmAnswers.push_back(true);
  w.Click(w.form->Page1.ButtonAutoDetect);
  ui::Timer& timer = w.module->Timer1;
  if (timer.Enabled()) KillTimer(timer.Handle(), 1);
  for (int tick = 0; tick < 200 && timer.Enabled(); ++tick) {
    SendMessageW(timer.Handle(), WM_TIMER, 1, 0);
    w.Pump();
  }
}

// The command line's run in the world's folder, with its seams: the
// detection is the window's module over the world's port, its timer ticked
// and the UPS's answers delivered as in a detection run of the window.
void RunCommandLine(World& w, const std::vector<std::string>& arguments, const std::string& configuration) {
  w.folder.Write("ups.conf", configuration);
  std::vector<std::string> words;
  for (const std::string& word : arguments) words.push_back(word == "FILE" ? w.folder.File("ups.conf") : word);
  const deploy::ParsedCommandLine parsed = deploy::ParseCommandLine(words);
  ASSERT_TRUE(parsed.command) << parsed.error;
  KeptReport noBoxes;
  const Services services{noBoxes, w.registry, w.shell, w.clock, w.wait, w.folder.Path() + "\\OmbrelSetup.exe",
                          nullptr, nullptr, &w.dosDevices};
  w.PreparePorts();
  auto makePort = [](ui::ErrorSink failure) {
    return std::unique_ptr<SerialChannel>(std::make_unique<Win32SerialChannel>(std::move(failure)));
  };
  int ticks = 0;
  auto tick = [&ticks](TDataModule1& module) {
    ui::Timer& timer = module.Timer1;
    if (!timer.Enabled() || ++ticks > 200) return false;
    KillTimer(timer.Handle(), 1);
    SendMessageW(timer.Handle(), WM_TIMER, 1, 0);
    PumpMessages(nullptr);
    return true;
  };
  w.exitCode = deploy::Run(*parsed.command, {w.registry, w.shell, services.programPath,
                                              [&] { return DetectWithoutWindow(services, makePort, tick); },
                                              [&w](const std::string& line) { w.said.push_back(line); },
                                              &w.eventLog, nullptr, "2024-05-17T08:30:00Z"});
}

// A configuration that changes settings of each page, the schedule and the
// start-up entry: removed by the first, written anew by the second.
const char kImported[] =
    "Ombrel Setup configuration 1\r\n[PAGE1]\r\nRUN_STARTUP_STATUS=0\r\nOVERLOAD_SHUTDOWN_TIME=6\r\n"
    "[PAGE2]\r\nWEEKLY_SCHEDULE_SHUTDOWN_DAY=1000001\r\n[PAGE3]\r\nLANGUAGE=English\r\nEVENTLOG_RECORD=120\r\n"
    "[SCHEDULE]\r\n2024/06/01,SHUTDOWN,22:30,0\r\n2025/01/02,STARTUP,07:00,1\r\n";
const char kImportedWithEntry[] =
    "Ombrel Setup configuration 1\r\n[PAGE1]\r\nRUN_STARTUP_STATUS=1\r\nOVERLOAD_SHUTDOWN_TIME=6\r\n"
    "[SCHEDULE]\r\n2024/06/01,SHUTDOWN,22:30,0\r\n";

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
      {"OK again after a failed OK", Files::All, false,
       [](World& w) {
         w.Click(w.form->Page3.CheckBox7);
         w.PressOk();
         w.PressOk();
       }},
      {"F1", Files::All, false,
       [](World& w) {
         PostMessageW(w.form->Page1.Edit1.Handle(), WM_KEYDOWN, VK_F1, 1);
         w.Pump();
       }},
      {"language change", Files::All, false,
       [](World& w) {
         w.ToggleTick(w.form->Page3.CheckListBox2, 1);
         w.PressOk();
       }},
      {"folder browse", Files::All, false,
       [](World& w) {
         w.dialogs.browseAnswers.push_back("D:\\Logs");
         w.Click(w.form->Page3.SpeedButton1);
         w.PressOk();
       }},
      {"close request while an error box waits", Files::All, false,
       [](World& w) {
         bool requested = false;
         w.dialogs.whileShown = [&w, &requested](const FakeDialogs::Shown& box) {
           if (!requested && box.kind == FakeDialogs::Kind::Error) {
             requested = true;
             PostMessageW(w.form->Handle(), WM_CLOSE, 0, 0);
           }
           w.Pump();
         };
         w.Click(w.form->Page3.CheckBox7);
         w.PressOk();
         w.dialogs.whileShown = [&w](const FakeDialogs::Shown&) { w.Pump(); };
       }},
      {"detection finding nothing", Files::All, false,
       Detect},
      {"detection run", Files::All, false, Detect, "detection finding nothing"},
      {"/import", Files::All, false, [](World& w) { RunCommandLine(w, {"/import", "FILE"}, kImported); }, nullptr,
       false},
      {"/import with /detect", Files::All, false,
       [](World& w) { RunCommandLine(w, {"/import", "FILE", "/detect"}, kImportedWithEntry); }, nullptr, false},
      {"/detect", Files::All, false, [](World& w) { RunCommandLine(w, {"/detect"}, ""); }, nullptr, false},
      {"/import, the start-up entry in the 64-bit view", Files::AllEntryIn64BitView, false,
       [](World& w) { RunCommandLine(w, {"/import", "FILE"}, kImportedWithEntry); }, nullptr, false},
      {"/check", Files::All, false, [](World& w) { RunCommandLine(w, {"/check", "FILE"}, kImported); }, nullptr,
       false},
  };
  return operations;
}
// One run of the operation, the plan armed for its part only. OK follows
// where the operation itself ends without one (a start, Apply, a detection
// run), so that what it left in the window reaches the files: after a start
// without faults, after any other operation with the faults still armed, as
// that OK is where what the operation left is written.
Outcome RunOperation(const Operation& operation, int at, FaultKind kind, bool lasting, bool act = true) {
  World world(operation.files);
  world.withUps = std::string(operation.name) != "detection finding nothing";
  if (!operation.window) {
    Faults().Arm(at, kind, lasting);
    if (act) operation.act(world);
    Faults().Disarm();
    return OutcomeOf(world);
  }
  if (operation.duringStart) Faults().Arm(at, kind, lasting);
  world.Start();
  if (operation.duringStart)
    Faults().Disarm();
  else
    Faults().Arm(at, kind, lasting);
  if (act) operation.act(world);
  const std::string name = operation.name;
  const bool endsWithOk = act && (name.rfind("OK", 0) == 0 || name == "Cancel" || name == "language change" ||
                                  name == "folder browse" || name.rfind("close request", 0) == 0);
  if (!endsWithOk && !operation.duringStart && world.Open()) world.PressOk();
  Faults().Disarm();
  if (!endsWithOk && operation.duringStart && world.Open()) world.PressOk();
  return OutcomeOf(world);
}

struct Tally {
  int operations = 0, points = 0, tried = 0, runs = 0, once = 0, lasting = 0, fired = 0, torn = 0, lost = 0;
  std::map<FaultKind, int> kinds;
};

// Every stride-th failure point is tried (1: all); the test suite tries a
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
              << " failure points, " << tally.tried << " of them tried, " << tally.runs << " runs ("
              << tally.once << " once, " << tally.lasting << " lasting; ";
    for (const auto& [kind, count] : tally.kinds) std::cout << NameOf(kind) << " " << count << ", ";
    std::cout << "), " << tally.fired << " runs whose fault fired, " << tally.torn << " torn files, " << tally.lost
              << " lost registry values, 0 crashes\n";
  }
};
Tally FaultInjectionTest::tally;

std::string Describe(const Operation& operation, int at, Seam seam, FaultKind kind) {
  return std::string(operation.name) + ": call " + std::to_string(at) + " (" + NameOf(seam) + ") fails with " +
         NameOf(kind);
}

// Each file and each registry value is one of the states a run may rightly
// leave: as before, as the undisturbed run left it, or, for an operation
// followed by OK, as that OK leaves it without the operation.
template <typename T>
bool OneOf(const T& now, const std::vector<T>& states) {
  return std::find(states.begin(), states.end(), now) != states.end();
}

// A file without its UPSPORT line: the port a detection that found nothing
// leaves in the list.
std::optional<std::string> WithoutPort(std::optional<std::string> file) {
  if (!file) return file;
  const size_t at = file->find("UPSPORT=");
  if (at != std::string::npos) file->erase(at, file->find('\n', at) - at);
  return file;
}

std::optional<FakeRegistry::Value> ValueOf(const std::map<FakeRegistry::Name, FakeRegistry::Value>& values,
                                           const FakeRegistry::Name& name) {
  const auto found = values.find(name);
  return found == values.end() ? std::nullopt : std::optional(found->second);
}

TEST_P(FaultInjectionTest, EveryCallFailsInEveryWayItCan) {
  const Operation& operation = Operations()[GetParam()];
  Faults().Count();
  Faults().unflushedRenames.clear();
  const Outcome clean = RunOperation(operation, -1, FaultKind::AccessDenied, false);
  const std::vector<Seam> seams = Faults().Seams();
  // The calls come in the same order every time, those of the serial port's
  // reading thread included: call n of one run is call n of the next.
  Faults().Count();
  RunOperation(operation, -1, FaultKind::AccessDenied, false);
  EXPECT_EQ(Faults().Seams(), seams) << operation.name << ": the calls came in another order";
  // Whatever it renames into place, the file seam has flushed first.
  EXPECT_EQ(Faults().unflushedRenames, std::vector<std::string>{}) << operation.name;
  const Outcome unacted = RunOperation(operation, -1, FaultKind::AccessDenied, false, false);
  World untouched(operation.files);
  const Outcome old = OutcomeOf(untouched);
  std::optional<Outcome> other;
  if (operation.otherEnding)
    for (const Operation& o : Operations())
      if (std::string(o.name) == operation.otherEnding) other = RunOperation(o, -1, FaultKind::AccessDenied, false);
  const Outcome& otherEnd = other ? *other : clean;
  ++tally.operations;
  tally.points += static_cast<int>(seams.size());
  std::cout << operation.name << ": " << seams.size() << " failure points\n";

  std::set<FakeRegistry::Name> names;
  for (const Outcome* o : {&clean, &unacted, &old, &otherEnd})
    for (const auto& [name, value] : o->registry) names.insert(name);

  for (int at = 1 + static_cast<int>(GetParam()) % Stride(); at <= static_cast<int>(seams.size());
       at += Stride()) {
    const Seam seam = seams[at - 1];
    ++tally.tried;
    for (FaultKind kind : KindsOf(seam)) {
      for (bool lasting : {false, true}) {
        const Outcome outcome = RunOperation(operation, at, kind, lasting);
        const std::string run = Describe(operation, at, seam, kind) + (lasting ? " for good" : " once");
        ++tally.runs;
        ++(lasting ? tally.lasting : tally.once);
        ++tally.kinds[kind];
        EXPECT_TRUE(Faults().Fired()) << run << ": the fault never came";
        tally.fired += Faults().Fired();
        // The user was told: by a box of the window; on the command line by an
        // exit code other than 0 and a last result line the undisturbed run
        // did not say.
        const bool told = operation.window ? outcome.shown != clean.shown
                                           : outcome.exitCode != deploy::kDone && !outcome.said.empty() &&
                                                 !OneOf(outcome.said.back(), clean.said);

        for (const auto& [file, now, states] :
             {std::tuple{"omb.ini", outcome.settings, std::vector{old.settings, clean.settings, unacted.settings}},
              std::tuple{"SCHEDULE.TXT", outcome.schedule,
                         std::vector{old.schedule, clean.schedule, unacted.schedule}}}) {
          if (OneOf(now, states)) continue;
          if (other && WithoutPort(now) == WithoutPort(file == std::string("omb.ini") ? other->settings : other->schedule))
            continue;
          ++tally.torn;
          ADD_FAILURE() << run << ": " << file << " is neither its old nor its new bytes";
        }
        for (const FakeRegistry::Name& name : names) {
          if (OneOf(ValueOf(outcome.registry, name), {ValueOf(old.registry, name), ValueOf(clean.registry, name),
                                                      ValueOf(unacted.registry, name), ValueOf(otherEnd.registry, name)}))
            continue;
          // A value the system refused to change stays where it was then (RUNNING
          // at 3 when 4 cannot be written after a detection), and a box said so.
          const auto refused = outcome.refused.find(name);
          if (refused != outcome.refused.end() && refused->second == ValueOf(outcome.registry, name) && told)
            continue;
          // A failed import records its own result, whatever it is.
          if (name.second.starts_with("LastImport") && told) continue;
          ++tally.lost;
          ADD_FAILURE() << run << ": registry value " << name.second << " is neither old nor new";
        }
        // The probe is over after every run, the monitor back on its port,
        // unless the system refused the value that says so.
        if (ValueOf(outcome.registry, {kProgramKey, "RUNNING"}) == FakeRegistry::Value(3u)) {
          EXPECT_EQ(seam, Seam::Registry) << run << ": RUNNING left at 3";
        }
        EXPECT_EQ(outcome.temporaries, 0) << run;
        EXPECT_EQ(outcome.openKeys, 0) << run << ": a registry key left open";
        EXPECT_FALSE(outcome.stuck) << run << ": the serial port's reading thread never came to rest";
        // The order of OK: the start-up entry, the schedule, the settings, SETUP.
        const bool scheduleNotWritten = clean.schedule != old.schedule && outcome.schedule == old.schedule;
        if (scheduleNotWritten) {
          EXPECT_EQ(outcome.settings, old.settings) << run << ": settings written after the schedule failed";
        }
        // A command line that says nothing was written wrote nothing but the
        // end of its probe for the monitor.
        if (outcome.exitCode == deploy::kInvalidFile || outcome.exitCode == deploy::kNoUpsFound ||
            outcome.exitCode == deploy::kNoMonitor) {
          auto written = outcome.registry;
          written.erase({kProgramKey, "RUNNING"});
          for (const char* record : {"LastImportTime", "LastImportFile", "LastImportSha256", "LastImportResult"})
            written.erase({kProgramKey, record});
          EXPECT_TRUE(outcome.settings == old.settings && outcome.schedule == old.schedule &&
                      written == old.registry)
              << run << ": exit " << *outcome.exitCode << " after writing";
        }
        // A comparison writes nothing, whatever fails.
        if (operation.name == std::string("/check")) {
          EXPECT_TRUE(outcome.settings == old.settings && outcome.schedule == old.schedule &&
                      outcome.registry == old.registry)
              << run << ": /check wrote";
        }
        // The event log only keeps the record: an entry it refuses changes nothing else.
        if (seam == Seam::EventLog) {
          EXPECT_EQ(outcome.exitCode, clean.exitCode) << run;
          EXPECT_TRUE(outcome.settings == clean.settings && outcome.schedule == clean.schedule &&
                      outcome.registry == clean.registry && outcome.open == clean.open)
              << run << ": a refused entry changed the run";
        }
        const bool settingsNotWritten = clean.settings != old.settings && outcome.settings == old.settings;
        if (settingsNotWritten) {
          EXPECT_EQ(outcome.registry.count({kProgramKey, "SETUP"}), 0u) << run << ": SETUP after a failure";
        }
        // The start-up entry goes only once the files that say so are
        // written; and it is never in both views.
        const auto entryIn = [](const Outcome& o) {
          return o.registry.count({kRunKey, "OMB_SPY"}) + o.registry.count({FakeRegistry::In64BitView(kRunKey), "OMB_SPY"});
        };
        if (entryIn(old) > 0 && entryIn(outcome) == 0) {
          EXPECT_NE(outcome.settings, old.settings) << run << ": the start-up entry removed over the old files";
        }
        EXPECT_LE(entryIn(outcome), 1u) << run << ": a start-up entry in both views";
        // A run that ended otherwise than the undisturbed one says so, unless
        // what failed was a box itself, or the short form of a path (which
        // is, by design, the long path then) or an answer that only adds
        // to a box (the folder's rights, the list of ports).
        const bool different = outcome.settings != clean.settings || outcome.schedule != clean.schedule ||
                               outcome.registry != clean.registry || outcome.open != clean.open;
        const bool silentByDesign = seam == Seam::Dialog || seam == Seam::Shell || seam == Seam::FolderRights ||
                                    seam == Seam::DosDevices || seam == Seam::EventLog;
        if (different && !silentByDesign) {
          EXPECT_TRUE(told)
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
