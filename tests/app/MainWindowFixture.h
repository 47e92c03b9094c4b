#pragma once
// Creates the real main window in-process, with a scratch folder as program
// folder and fakes for everything outside, and acts on it through messages.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <memory>
#include <string>

#include "app/TFormMain.h"
#include "app/TFormViewAll.h"
#include "support/FakeClock.h"
#include "support/FakeDialogs.h"
#include "support/FakeEventLog.h"
#include "support/FakePowerCapabilities.h"
#include "support/FakeRegistry.h"
#include "support/FakeSerialChannel.h"
#include "support/FakeShell.h"
#include "support/FakeWait.h"
#include "support/PumpMessages.h"
#include "support/ScratchFolder.h"
#include "ui/Text.h"

class MainWindowTest : public ::testing::Test {
 protected:
  ScratchFolder folder;
  FakeDialogs dialogs;
  FakeRegistry registry;
  FakeEventLog eventLog;
  FakePowerCapabilities powerCapabilities;
  const IPowerCapabilities* power = nullptr;  // not asked unless a test points it at powerCapabilities
  FakeShell shell;
  FakeClock clock{LocalDateTime{2024, 5, 17, 10, 30, 0, 0}};
  FakeWait wait;
  FakeSerialChannel* comPort = nullptr;  // the module's, once started
  const IFolderRights* folderRights = nullptr;  // the program folder's rights; unchecked when null
  std::unique_ptr<Services> services;
  std::unique_ptr<TDataModule1> module;
  std::unique_ptr<TFormMain> form;
  std::unique_ptr<TFormViewAll> viewAll;

  // The program lies beside the monitor, as installed.
  MainWindowTest() { folder.Write("SPY.EXE", ""); }

  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
  }

  void TearDown() override {
    viewAll.reset();
    form.reset();
    module.reset();
    Pump();
  }

  std::string ProgramPath() const { return folder.Path() + "\\OmbrelSetup.exe"; }

  // Creates the window; the messages of the start are left in dialogs. The
  // window stays hidden: under Wine without a window manager, hiding a shown
  // window waits two seconds for the manager that is not there.
  void Start() {
    // The boxes run the message loop while they wait, as real ones do.
    if (!dialogs.whileShown) dialogs.whileShown = [this](const FakeDialogs::Shown&) { Pump(); };
    services = std::make_unique<Services>(
        Services{dialogs, registry, shell, clock, wait, ProgramPath(), nullptr, folderRights, nullptr, power,
                 &eventLog});
    auto channel = std::make_unique<FakeSerialChannel>();
    comPort = channel.get();
    module = std::make_unique<TDataModule1>(*services, std::move(channel),
                                            [this](const std::string& text) { dialogs.Error(text); });
    form = std::make_unique<TFormMain>(*services, *module);
    viewAll = std::make_unique<TFormViewAll>(*services, form->Handle());
    form->FormViewAll = viewAll.get();
    Pump();
  }
  // Starts and forgets the messages of the start.
  void StartQuietly() {
    Start();
    dialogs.shown.clear();
  }

  void Pump() { PumpMessages(form.get()); }

  bool WindowOpen() const { return form && form->Handle() && IsWindow(form->Handle()); }

  void Click(const ui::Control& button) {
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    Pump();
  }
  static bool Ticked(const ui::Control& box) {
    return SendMessageW(box.Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  static bool On(const ui::Control& control) { return IsWindowEnabled(control.Handle()) != FALSE; }
  static std::string TextOf(const ui::Control& control) { return ui::WindowText(control.Handle()); }

  // Types characters into a control through the window's key preview.
  void Type(HWND target, const std::string& characters) {
    SetFocus(target);
    for (char c : characters) PostMessageW(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
    Pump();
  }
  void Type(const ui::TextField& field, const std::string& characters) { Type(field.Handle(), characters); }
  // Selects the field's whole text and deletes it with Backspace.
  void Empty(const ui::TextField& field) {
    SetFocus(field.Handle());
    SendMessageW(field.Handle(), EM_SETSEL, 0, -1);
    Type(field, "\b");
  }

  // A row chosen the way a user's choice notifies the window.
  void Choose(ui::ComboBox& box, int row) {
    SendMessageW(box.Handle(), CB_SETCURSEL, row, 0);
    SendMessageW(GetParent(box.Handle()), WM_COMMAND, MAKEWPARAM(box.Id(), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box.Handle()));
    Pump();
  }

  // Toggles a row's tick as a click on its box does: the list view changes the
  // state and notifies its parent.
  void ToggleTick(ui::TickList& list, int row) {
    bool ticked = list.Checked(row);
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(ticked ? 1 : 2);
    SendMessageW(list.Handle(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    Pump();
  }

  // Presses and releases the mouse on a spinner's upper or lower arrow.
  void ClickArrow(const ui::Spinner& spinner, bool up) {
    RECT client;
    GetClientRect(spinner.Handle(), &client);
    LPARAM at = MAKELPARAM(client.right / 2, up ? client.bottom / 4 : client.bottom * 3 / 4);
    SendMessageW(spinner.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(spinner.Handle(), WM_LBUTTONUP, 0, at);
    Pump();
  }

  // Answers the OK question with Yes and presses OK.
  void PressOk(bool answer = true) {
    dialogs.confirmAnswers.push_back(answer);
    Click(form->ButtonOK);
  }

  void WriteSettings(const std::string& body) { folder.Write("omb.ini", body); }
};
