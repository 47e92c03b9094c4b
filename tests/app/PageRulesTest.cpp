// The rules that tie the page's controls together: series, power-fail pair,
// enabling of dependent fields.
#include <filesystem>

#include "MainWindowFixture.h"

namespace {

class PageRulesTest : public MainWindowTest {};

// The markers, the schedule's "Shutdown UPS" box and the data log are on the
// pages made once the window shows: the series stored reaches them as well.
TEST_F(PageRulesTest, StoredSeriesRulesReachThePagesMadeAfterTheStart) {
  // The generic series (2) switches them off; series 0 keeps them as stored.
  for (const auto& [series, on] : {std::pair{"2", false}, std::pair{"0", true}}) {
    SCOPED_TRACE(std::string("UPSTYPE=") + series);
    WriteSettings(std::string("[PAGE1]\r\nUPSTYPE=") + series +
                  "\r\n[PAGE2]\r\nSCHEDULE_SHUTDOWN_UPS=1\r\nLAST_SCHEDULE_SETUP_BUTTON=2\r\n"
                  "[PAGE3]\r\nDATALOG_STATUS=1\r\n");
    TearDown();
    StartQuietly();
    EXPECT_EQ(On(form->MarkerStartup), on);
    EXPECT_EQ(form->MarkerStartup.Down(), on);
    EXPECT_EQ(On(form->Label29), on);
    EXPECT_EQ(Ticked(form->CheckBox8), on);
    EXPECT_EQ(On(form->CheckBox7), on);
    EXPECT_EQ(Ticked(form->CheckBox7), on);
    EXPECT_EQ(On(form->Edit5), on);
    EXPECT_EQ(On(form->SpeedButton2), on);
  }
}

TEST_F(PageRulesTest, GenericSeriesSwitchesOffWhatADryContactCannotDo) {
  WriteSettings("[PAGE1]\r\nPOWERFAIL_SHUTDOWN_UPS=1\r\n[PAGE2]\r\nSCHEDULE_SHUTDOWN_UPS=1\r\n");
  StartQuietly();
  TFormMain& f = *form;
  Click(f.MarkerStartup);  // the lime marker pressed, to see it released
  ASSERT_TRUE(f.MarkerStartup.Down());

  ToggleTick(f.CheckListBox1, 3);

  EXPECT_FALSE(f.CheckListBox1.Checked(1));
  EXPECT_TRUE(f.CheckListBox1.Checked(3));
  EXPECT_FALSE(On(f.CheckBox1));
  EXPECT_TRUE(Ticked(f.CheckBox1));
  EXPECT_FALSE(On(f.Edit1));
  EXPECT_FALSE(On(f.UpDown1));
  EXPECT_FALSE(On(f.Label3));
  EXPECT_FALSE(On(f.CheckBox7));
  EXPECT_FALSE(Ticked(f.CheckBox7));
  EXPECT_FALSE(On(f.Edit5));
  EXPECT_FALSE(On(f.ComboBox9));
  EXPECT_FALSE(On(f.SpeedButton2));
  EXPECT_FALSE(Ticked(f.CheckBox3));
  EXPECT_FALSE(Ticked(f.CheckBox8));
  EXPECT_TRUE(Ticked(f.CheckBox9));
  EXPECT_FALSE(Ticked(f.CheckBox11));
  EXPECT_FALSE(On(f.CheckBox11));
  EXPECT_TRUE(On(f.Edit2));
  EXPECT_FALSE(f.MarkerStartup.Down());
  EXPECT_FALSE(On(f.MarkerStartup));
  EXPECT_FALSE(On(f.MarkerTest));
  EXPECT_EQ(f.MarkerStartup.Color(), GetSysColor(COLOR_BTNFACE));
  EXPECT_FALSE(On(f.Label28));
  EXPECT_TRUE(On(f.MarkerShutdown));
  EXPECT_TRUE(On(f.CheckListBox4));
  EXPECT_TRUE(f.CheckListBox4.Checked(0));
}

TEST_F(PageRulesTest, GenericSeriesKeepsTheAdaptorWhenItIsTicked) {
  WriteSettings("[PAGE1]\r\nUPSCABLE=1\r\n");
  StartQuietly();
  ToggleTick(form->CheckListBox1, 3);
  EXPECT_FALSE(form->CheckListBox4.Checked(0));
  EXPECT_TRUE(form->CheckListBox4.Checked(1));
}

TEST_F(PageRulesTest, BackFromGenericToQzTakesTheDataLogSwitchFromTheSettings) {
  WriteSettings("[PAGE1]\r\nUPSTYPE=2\r\nOVERLOAD_SHUTDOWN_STATUS=1\r\n[PAGE3]\r\nDATALOG_STATUS=1\r\n");
  StartQuietly();
  TFormMain& f = *form;
  ASSERT_FALSE(Ticked(f.CheckBox7));
  ASSERT_FALSE(On(f.Edit1));

  ToggleTick(f.CheckListBox1, 0);

  EXPECT_FALSE(f.CheckListBox1.Checked(3));
  EXPECT_TRUE(On(f.CheckBox1));
  EXPECT_TRUE(On(f.Edit1));
  EXPECT_TRUE(Ticked(f.CheckBox7));
  EXPECT_TRUE(On(f.CheckBox7));
  EXPECT_TRUE(On(f.Edit5));
  EXPECT_TRUE(On(f.MarkerStartup));
  EXPECT_EQ(f.MarkerStartup.Color(), RGB(0, 255, 0));
  EXPECT_FALSE(On(f.MarkerTest));
  EXPECT_FALSE(On(f.Label29));
  EXPECT_FALSE(Ticked(f.CheckBox3));
  EXPECT_TRUE(Ticked(f.CheckBox9));
  EXPECT_TRUE(On(f.CheckBox11));
  EXPECT_FALSE(On(f.CheckListBox4));
}

TEST_F(PageRulesTest, DataLogSwitchFollowsTheStoredValueNotItsLastState) {
  WriteSettings("[PAGE3]\r\nDATALOG_STATUS=0\r\n");
  StartQuietly();
  Click(form->CheckBox7);
  ASSERT_TRUE(Ticked(form->CheckBox7));
  ToggleTick(form->CheckListBox1, 2);
  EXPECT_FALSE(Ticked(form->CheckBox7));
  EXPECT_FALSE(On(form->Edit6));
}

TEST_F(PageRulesTest, SorantheReleasesAndGreysTheBlueMarker) {
  StartQuietly();
  Click(form->MarkerTest);
  ASSERT_TRUE(form->MarkerTest.Down());
  ASSERT_FALSE(form->MarkerShutdown.Down());
  ToggleTick(form->CheckListBox1, 2);
  EXPECT_FALSE(form->MarkerTest.Down());
  EXPECT_FALSE(On(form->MarkerTest));
  EXPECT_EQ(form->MarkerTest.Color(), GetSysColor(COLOR_BTNFACE));
  EXPECT_TRUE(On(form->MarkerStartup));
}

TEST_F(PageRulesTest, UntickingTheOnlySeriesKeepsThePreviousRules) {
  WriteSettings("[PAGE1]\r\nUPSTYPE=2\r\n");
  StartQuietly();
  ToggleTick(form->CheckListBox1, 3);
  for (int row = 0; row < 4; ++row) EXPECT_FALSE(form->CheckListBox1.Checked(row));
  EXPECT_FALSE(On(form->CheckBox1));
  EXPECT_TRUE(On(form->CheckListBox4));
}

TEST_F(PageRulesTest, PowerFailPairKeepsExactlyOneTicked) {
  StartQuietly();
  TFormMain& f = *form;
  ASSERT_TRUE(Ticked(f.CheckBox11));
  Click(f.CheckBox11);
  EXPECT_FALSE(Ticked(f.CheckBox11));
  EXPECT_TRUE(Ticked(f.CheckBox9));
  EXPECT_TRUE(On(f.Edit2));
  EXPECT_TRUE(On(f.UpDown2));
  EXPECT_TRUE(On(f.Label10));
  Click(f.CheckBox9);
  EXPECT_FALSE(Ticked(f.CheckBox9));
  EXPECT_TRUE(Ticked(f.CheckBox11));
  EXPECT_FALSE(On(f.Edit2));
  EXPECT_FALSE(On(f.UpDown2));
  EXPECT_FALSE(On(f.Label10));
}

TEST_F(PageRulesTest, OverloadAndCurrentDayBoxesEnableTheirFields) {
  StartQuietly();
  Click(form->CheckBox1);
  EXPECT_FALSE(On(form->Edit1));
  EXPECT_FALSE(On(form->UpDown1));
  Click(form->CheckBox3);  // "Shutdown UPS" runs the same reaction: nothing changes
  EXPECT_FALSE(On(form->Edit1));
  Click(form->CheckBox1);
  EXPECT_TRUE(On(form->Edit1));
  Click(form->CheckBox5);
  EXPECT_TRUE(On(form->CheckListBox3));
}

TEST_F(PageRulesTest, StoredForceShutdownWithAutoSaveIsShownAsStored) {
  WriteSettings("[PAGE1]\r\nPOWERFAIL_AUTO_SAVE=1\r\nPOWERFAIL_SHUTDOWN_TYPE=1\r\n");
  StartQuietly();
  EXPECT_TRUE(Ticked(form->CheckBox2));
  EXPECT_TRUE(On(form->CheckBox2));
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PageRulesTest, LanguageListKeepsAtMostOneTick) {
  std::filesystem::create_directories(folder.File("Languages\\English"));
  std::filesystem::create_directories(folder.File("Languages\\Other"));
  StartQuietly();
  ASSERT_TRUE(form->CheckListBox2.Checked(0));
  ToggleTick(form->CheckListBox2, 1);
  EXPECT_FALSE(form->CheckListBox2.Checked(0));
  EXPECT_TRUE(form->CheckListBox2.Checked(1));
  ToggleTick(form->CheckListBox2, 1);
  EXPECT_FALSE(form->CheckListBox2.Checked(1));
}

}  // namespace
