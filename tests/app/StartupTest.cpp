// Start-up: the window, the messages of missing files, and the defaults shown
// when there is no settings file.
#include <filesystem>
#include <fstream>

#include "MainWindowFixture.h"
#include "platform/FileSystem.h"
#include "support/BitmapFile.h"

namespace {

using Kind = FakeDialogs::Kind;

const char* const kSkins[] = {"HeaderSetup.bmp",    "SAVE_BUTTON.bmp",  "CANCEL_BUTTON.bmp",
                              "EXIT_BUTTON.bmp",    "APPLY_BUTTON.bmp", "BATTERY.BMP",
                              "VIEWALL_BUTTON.bmp", "RESET_BUTTON.bmp"};

// A 4 x 2 bitmap file of 24-bit pixels.
std::string SmallBitmap() {
  return BitmapFile(4, 2, std::string(4 * 3 * 2, '\x7f'));
}

class StartupTest : public MainWindowTest {
 protected:
  void MakeFolder(const std::string& name) { std::filesystem::create_directories(folder.File(name)); }
};

TEST_F(StartupTest, WindowHasItsTitleSizeBorderAndPlace) {
  StartQuietly();
  form->Show();
  HWND window = form->Handle();
  EXPECT_EQ(ui::WindowText(window), "Ombrel Setup Version 7.20");
  EXPECT_EQ(FindWindowW(nullptr, L"Ombrel Setup Version 7.20"), window);
  RECT outer;
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.right - outer.left, 556);
  EXPECT_EQ(outer.bottom - outer.top, 468);
  LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 556) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 468) / 2);
  EXPECT_EQ(form->PageControl1.ActiveIndex(), 0);
}

TEST_F(StartupTest, MissingLanguageAndSkinFilesGiveOneMessageEachInOrder) {
  Start();
  std::vector<FakeDialogs::Shown> expected = {
      {Kind::Message, folder.Path() + "\\Languages\\English\\setup.ini Error, File not found : "}};
  for (const char* skin : kSkins)
    expected.push_back({Kind::Message, std::string("Error, File not found : ") + skin});
  EXPECT_EQ(dialogs.shown, expected);
  EXPECT_TRUE(WindowOpen());
  EXPECT_FALSE(form->Panel1.HasPicture());
  EXPECT_EQ(TextOf(form->ButtonOK), "OK");
}

TEST_F(StartupTest, SkinPicturesThatExistAreLoadedSilently) {
  MakeFolder("skin\\setup");
  for (const char* skin : kSkins) folder.Write(std::string("skin\\setup\\") + skin, SmallBitmap());
  Start();
  EXPECT_EQ(dialogs.TextsOf(Kind::Message).size(), 1u);  // only the language file
  EXPECT_TRUE(form->Panel1.HasPicture());
  for (const ui::DrawnButton* button :
       {&form->ButtonOK, &form->ButtonCancel, &form->Page2.ButtonClear, &form->Page2.ButtonApply, &form->Page1.ButtonAutoDetect,
        &form->Page2.ButtonViewAll, &form->Page2.ButtonReset})
    EXPECT_TRUE(button->HasGlyph());
}

TEST_F(StartupTest, BrokenSkinStopsTheStartWithAnErrorBoxButTheWindowOpens) {
  MakeFolder("skin\\setup");
  MakeFolder("Languages\\English");
  folder.Write("skin\\setup\\HeaderSetup.bmp", "not a picture");
  Start();
  ASSERT_EQ(dialogs.TextsOf(Kind::Error), std::vector<std::string>{"Bitmap image is not valid."});
  // Skipped: the other skins, the language list and the pages.
  EXPECT_EQ(dialogs.TextsOf(Kind::Message).size(), 1u);
  EXPECT_EQ(form->Page3.CheckListBox2.Count(), 0);
  EXPECT_EQ(form->Page1.ComboBox1.ItemIndex(), -1);
  EXPECT_EQ(TextOf(form->Page3.Edit3), "");
  EXPECT_EQ(TextOf(form->Page3.Edit4), "");
  EXPECT_TRUE(WindowOpen());
}

TEST_F(StartupTest, LanguageListHoldsExtensionlessNamesSortedAndTicksTheStoredOne) {
  MakeFolder("Languages\\English");
  MakeFolder("Languages\\deutsch");
  MakeFolder("Languages\\Zulu");
  folder.Write("Languages\\English\\setup.ini", "");
  folder.Write("Languages\\README", "x");
  folder.Write("Languages\\notes.txt", "x");
  WriteSettings("[PAGE3]\r\nLANGUAGE=Zulu\r\n");
  StartQuietly();
  ui::TickList& list = form->Page3.CheckListBox2;
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.RowText(0), "deutsch");
  EXPECT_EQ(list.RowText(1), "English");
  EXPECT_EQ(list.RowText(2), "README");
  EXPECT_EQ(list.RowText(3), "Zulu");
  EXPECT_FALSE(list.Checked(1));
  EXPECT_TRUE(list.Checked(3));
}

TEST_F(StartupTest, LanguageWithoutFolderTicksNoRow) {
  MakeFolder("Languages\\English");
  WriteSettings("[PAGE3]\r\nLANGUAGE=english\r\n");
  Start();
  EXPECT_EQ(dialogs.shown.front().text,
            folder.Path() + "\\Languages\\english\\setup.ini Error, File not found : ");
  EXPECT_FALSE(form->Page3.CheckListBox2.Checked(0));
}

TEST_F(StartupTest, NoSettingsFileShowsTheDefaults) {
  StartQuietly();
  TFormMain& f = *form;
  // Configuration page.
  EXPECT_EQ(TextOf(f.Page1.ComboBox1), "COM 1");
  EXPECT_FALSE(Ticked(f.Page1.CheckBox4));
  EXPECT_FALSE(f.Page1.CheckListBox1.Checked(0));
  EXPECT_TRUE(f.Page1.CheckListBox1.Checked(1));
  EXPECT_FALSE(f.Page1.CheckListBox1.Checked(2));
  EXPECT_FALSE(f.Page1.CheckListBox1.Checked(3));
  EXPECT_TRUE(f.Page1.CheckListBox4.Checked(0));
  EXPECT_FALSE(f.Page1.CheckListBox4.Checked(1));
  EXPECT_FALSE(On(f.Page1.CheckListBox4));
  EXPECT_TRUE(Ticked(f.Page1.CheckBox1));
  EXPECT_EQ(TextOf(f.Page1.Edit1), "2");
  EXPECT_EQ(f.Page1.UpDown1.Position(), 2);
  EXPECT_TRUE(On(f.Page1.Edit1));
  EXPECT_TRUE(Ticked(f.Page1.CheckBox11));
  EXPECT_FALSE(Ticked(f.Page1.CheckBox9));
  EXPECT_EQ(TextOf(f.Page1.Edit2), "5");
  EXPECT_FALSE(On(f.Page1.Edit2));
  EXPECT_FALSE(On(f.Page1.UpDown2));
  EXPECT_FALSE(On(f.Page1.Label10));
  EXPECT_EQ(TextOf(f.Page1.ComboBox3), "Force Shutdown");
  EXPECT_FALSE(Ticked(f.Page1.CheckBox2));
  EXPECT_TRUE(On(f.Page1.CheckBox2));
  EXPECT_FALSE(Ticked(f.Page1.CheckBox3));
  // Schedule page.
  EXPECT_EQ(TextOf(f.Page2.ComboBox7), "May");
  EXPECT_EQ(TextOf(f.Page2.ComboBox8), "2024");
  EXPECT_EQ(TextOf(f.Page2.ComboBox13), "12");
  EXPECT_EQ(TextOf(f.Page2.ComboBox17), "00");
  EXPECT_FALSE(Ticked(f.Page2.CheckBox10));
  EXPECT_TRUE(Ticked(f.Page2.CheckBox5));
  EXPECT_FALSE(On(f.Page2.CheckListBox3));
  EXPECT_TRUE(f.Page2.MarkerShutdown.Down());
  EXPECT_FALSE(f.Page2.MarkerStartup.Down());
  EXPECT_TRUE(On(f.Page2.MarkerStartup));
  EXPECT_TRUE(On(f.Page2.MarkerTest));
  EXPECT_EQ(TextOf(f.Page2.ComboBox11), "Force Shutdown");
  EXPECT_FALSE(Ticked(f.Page2.CheckBox6));
  EXPECT_TRUE(On(f.Page2.CheckBox6));
  EXPECT_FALSE(Ticked(f.Page2.CheckBox8));
  // Others page.
  EXPECT_EQ(TextOf(f.Page3.Edit3), "50");
  EXPECT_EQ(TextOf(f.Page3.Edit4), fs_seam::CurrentDirectory() + "\\Eventlog.txt");
  EXPECT_TRUE(Ticked(f.Page3.CheckBox7));
  EXPECT_EQ(TextOf(f.Page3.Edit5), "7");
  EXPECT_TRUE(On(f.Page3.Edit5));
  EXPECT_EQ(TextOf(f.Page3.ComboBox9), "30");
  EXPECT_TRUE(On(f.Page3.ComboBox9));
  EXPECT_TRUE(On(f.Page3.SpeedButton2));
}

TEST_F(StartupTest, StoredValuesOutsideTheListsLeaveTheBoxesEmpty) {
  WriteSettings(
      "[PAGE1]\r\nUPSPORT=9\r\nOVERLOAD_SHUTDOWN_TIME=40\r\nBACKUP_TIME=0\r\nUPSCABLE=-1\r\n"
      "[PAGE2]\r\nLAST_SCHEDULE_SETUP_HOUR=24\r\nLAST_SCHEDULE_SETUP_MINUTE=7\r\n"
      "[PAGE3]\r\nDATALOG_INTERVAL=20\r\n");
  StartQuietly();
  EXPECT_EQ(form->Page1.ComboBox1.ItemIndex(), -1);
  EXPECT_EQ(TextOf(form->Page1.ComboBox1), "");
  EXPECT_EQ(TextOf(form->Page1.Edit1), "40");
  EXPECT_EQ(form->Page1.UpDown1.Position(), 10);
  EXPECT_EQ(TextOf(form->Page1.Edit2), "0");
  EXPECT_EQ(form->Page1.UpDown2.Position(), 1);
  EXPECT_FALSE(form->Page1.CheckListBox4.Checked(0));
  EXPECT_FALSE(form->Page1.CheckListBox4.Checked(1));
  EXPECT_EQ(TextOf(form->Page2.ComboBox13), "");
  EXPECT_EQ(TextOf(form->Page2.ComboBox17), "07");
  EXPECT_EQ(TextOf(form->Page3.ComboBox9), "");
}

TEST_F(StartupTest, PowerFailPairEndsAsItsTwoSettingsSay) {
  struct Case {
    const char* powerFail;
    const char* runtimeZero;
    bool powerFailTicked, runtimeZeroTicked, minutesOn;
  };
  for (const Case& c : {Case{"1", "1", false, true, false}, Case{"1", "0", true, false, true},
                        Case{"0", "1", false, true, false}, Case{"0", "0", false, false, true}}) {
    SCOPED_TRACE(std::string(c.powerFail) + c.runtimeZero);
    WriteSettings(std::string("[PAGE1]\r\nPOWERFAIL_SHUTDOWN_STATUS=") + c.powerFail +
                  "\r\nRUNTIME_ZERO_SHUTDOWN_STATUS=" + c.runtimeZero + "\r\n");
    StartQuietly();
    EXPECT_EQ(Ticked(form->Page1.CheckBox9), c.powerFailTicked);
    EXPECT_EQ(Ticked(form->Page1.CheckBox11), c.runtimeZeroTicked);
    EXPECT_EQ(On(form->Page1.Edit2), c.minutesOn);
    EXPECT_EQ(On(form->Page1.UpDown2), c.minutesOn);
    EXPECT_EQ(On(form->Page1.Label10), c.minutesOn);
    form.reset();
  }
}

TEST_F(StartupTest, F1AsksTheShellForTheHelpFile) {
  StartQuietly();
  SetFocus(form->Page1.Edit1.Handle());
  PostMessageW(form->Page1.Edit1.Handle(), WM_KEYDOWN, VK_F1, 1);
  Pump();
  EXPECT_EQ(shell.opened, std::vector<std::string>{"Ombrel_T.hlp"});
}

}  // namespace
