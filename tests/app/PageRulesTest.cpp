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
    EXPECT_EQ(On(form->Page2.MarkerStartup), on);
    EXPECT_EQ(form->Page2.MarkerStartup.Down(), on);
    EXPECT_EQ(On(form->Page2.Label29), on);
    EXPECT_EQ(Ticked(form->Page2.CheckBox8), on);
    EXPECT_EQ(On(form->Page3.CheckBox7), on);
    EXPECT_EQ(Ticked(form->Page3.CheckBox7), on);
    EXPECT_EQ(On(form->Page3.Edit5), on);
    EXPECT_EQ(On(form->Page3.SpeedButton2), on);
  }
}

TEST_F(PageRulesTest, GenericSeriesSwitchesOffWhatADryContactCannotDo) {
  WriteSettings("[PAGE1]\r\nPOWERFAIL_SHUTDOWN_UPS=1\r\n[PAGE2]\r\nSCHEDULE_SHUTDOWN_UPS=1\r\n");
  StartQuietly();
  TFormMain& f = *form;
  Click(f.Page2.MarkerStartup);  // the lime marker pressed, to see it released
  ASSERT_TRUE(f.Page2.MarkerStartup.Down());

  ToggleTick(f.Page1.CheckListBox1, 3);

  EXPECT_FALSE(f.Page1.CheckListBox1.Checked(1));
  EXPECT_TRUE(f.Page1.CheckListBox1.Checked(3));
  EXPECT_FALSE(On(f.Page1.CheckBox1));
  EXPECT_TRUE(Ticked(f.Page1.CheckBox1));
  EXPECT_FALSE(On(f.Page1.Edit1));
  EXPECT_FALSE(On(f.Page1.UpDown1));
  EXPECT_FALSE(On(f.Page1.Label3));
  EXPECT_FALSE(On(f.Page3.CheckBox7));
  EXPECT_FALSE(Ticked(f.Page3.CheckBox7));
  EXPECT_FALSE(On(f.Page3.Edit5));
  EXPECT_FALSE(On(f.Page3.ComboBox9));
  EXPECT_FALSE(On(f.Page3.SpeedButton2));
  EXPECT_FALSE(Ticked(f.Page1.CheckBox3));
  EXPECT_FALSE(Ticked(f.Page2.CheckBox8));
  EXPECT_TRUE(Ticked(f.Page1.CheckBox9));
  EXPECT_FALSE(Ticked(f.Page1.CheckBox11));
  EXPECT_FALSE(On(f.Page1.CheckBox11));
  EXPECT_TRUE(On(f.Page1.Edit2));
  EXPECT_FALSE(f.Page2.MarkerStartup.Down());
  EXPECT_FALSE(On(f.Page2.MarkerStartup));
  EXPECT_FALSE(On(f.Page2.MarkerTest));
  EXPECT_EQ(f.Page2.MarkerStartup.Color(), GetSysColor(COLOR_BTNFACE));
  EXPECT_FALSE(On(f.Page2.Label28));
  EXPECT_TRUE(On(f.Page2.MarkerShutdown));
  EXPECT_TRUE(On(f.Page1.CheckListBox4));
  EXPECT_TRUE(f.Page1.CheckListBox4.Checked(0));
}

TEST_F(PageRulesTest, GenericSeriesKeepsTheAdaptorWhenItIsTicked) {
  WriteSettings("[PAGE1]\r\nUPSCABLE=1\r\n");
  StartQuietly();
  ToggleTick(form->Page1.CheckListBox1, 3);
  EXPECT_FALSE(form->Page1.CheckListBox4.Checked(0));
  EXPECT_TRUE(form->Page1.CheckListBox4.Checked(1));
}

TEST_F(PageRulesTest, BackFromGenericToQzTakesTheDataLogSwitchFromTheSettings) {
  WriteSettings("[PAGE1]\r\nUPSTYPE=2\r\nOVERLOAD_SHUTDOWN_STATUS=1\r\n[PAGE3]\r\nDATALOG_STATUS=1\r\n");
  StartQuietly();
  TFormMain& f = *form;
  ASSERT_FALSE(Ticked(f.Page3.CheckBox7));
  ASSERT_FALSE(On(f.Page1.Edit1));

  ToggleTick(f.Page1.CheckListBox1, 0);

  EXPECT_FALSE(f.Page1.CheckListBox1.Checked(3));
  EXPECT_TRUE(On(f.Page1.CheckBox1));
  EXPECT_TRUE(On(f.Page1.Edit1));
  EXPECT_TRUE(Ticked(f.Page3.CheckBox7));
  EXPECT_TRUE(On(f.Page3.CheckBox7));
  EXPECT_TRUE(On(f.Page3.Edit5));
  EXPECT_TRUE(On(f.Page2.MarkerStartup));
  EXPECT_EQ(f.Page2.MarkerStartup.Color(), RGB(0, 255, 0));
  EXPECT_FALSE(On(f.Page2.MarkerTest));
  EXPECT_FALSE(On(f.Page2.Label29));
  EXPECT_FALSE(Ticked(f.Page1.CheckBox3));
  EXPECT_TRUE(Ticked(f.Page1.CheckBox9));
  EXPECT_TRUE(On(f.Page1.CheckBox11));
  EXPECT_FALSE(On(f.Page1.CheckListBox4));
}

TEST_F(PageRulesTest, DataLogSwitchFollowsTheStoredValueNotItsLastState) {
  WriteSettings("[PAGE3]\r\nDATALOG_STATUS=0\r\n");
  StartQuietly();
  Click(form->Page3.CheckBox7);
  ASSERT_TRUE(Ticked(form->Page3.CheckBox7));
  ToggleTick(form->Page1.CheckListBox1, 2);
  EXPECT_FALSE(Ticked(form->Page3.CheckBox7));
  EXPECT_FALSE(On(form->Page3.Edit6));
}

TEST_F(PageRulesTest, SorantheReleasesAndGreysTheBlueMarker) {
  StartQuietly();
  Click(form->Page2.MarkerTest);
  ASSERT_TRUE(form->Page2.MarkerTest.Down());
  ASSERT_FALSE(form->Page2.MarkerShutdown.Down());
  ToggleTick(form->Page1.CheckListBox1, 2);
  EXPECT_FALSE(form->Page2.MarkerTest.Down());
  EXPECT_FALSE(On(form->Page2.MarkerTest));
  EXPECT_EQ(form->Page2.MarkerTest.Color(), GetSysColor(COLOR_BTNFACE));
  EXPECT_TRUE(On(form->Page2.MarkerStartup));
}

TEST_F(PageRulesTest, UntickingTheOnlySeriesKeepsThePreviousRules) {
  WriteSettings("[PAGE1]\r\nUPSTYPE=2\r\n");
  StartQuietly();
  ToggleTick(form->Page1.CheckListBox1, 3);
  for (int row = 0; row < 4; ++row) EXPECT_FALSE(form->Page1.CheckListBox1.Checked(row));
  EXPECT_FALSE(On(form->Page1.CheckBox1));
  EXPECT_TRUE(On(form->Page1.CheckListBox4));
}

TEST_F(PageRulesTest, PowerFailPairKeepsExactlyOneTicked) {
  StartQuietly();
  TFormMain& f = *form;
  ASSERT_TRUE(Ticked(f.Page1.CheckBox11));
  Click(f.Page1.CheckBox11);
  EXPECT_FALSE(Ticked(f.Page1.CheckBox11));
  EXPECT_TRUE(Ticked(f.Page1.CheckBox9));
  EXPECT_TRUE(On(f.Page1.Edit2));
  EXPECT_TRUE(On(f.Page1.UpDown2));
  EXPECT_TRUE(On(f.Page1.Label10));
  Click(f.Page1.CheckBox9);
  EXPECT_FALSE(Ticked(f.Page1.CheckBox9));
  EXPECT_TRUE(Ticked(f.Page1.CheckBox11));
  EXPECT_FALSE(On(f.Page1.Edit2));
  EXPECT_FALSE(On(f.Page1.UpDown2));
  EXPECT_FALSE(On(f.Page1.Label10));
}

TEST_F(PageRulesTest, OverloadAndCurrentDayBoxesEnableTheirFields) {
  StartQuietly();
  Click(form->Page1.CheckBox1);
  EXPECT_FALSE(On(form->Page1.Edit1));
  EXPECT_FALSE(On(form->Page1.UpDown1));
  Click(form->Page1.CheckBox3);  // "Shutdown UPS" runs the same reaction: nothing changes
  EXPECT_FALSE(On(form->Page1.Edit1));
  Click(form->Page1.CheckBox1);
  EXPECT_TRUE(On(form->Page1.Edit1));
  Click(form->Page2.CheckBox5);
  EXPECT_TRUE(On(form->Page2.CheckListBox3));
}

TEST_F(PageRulesTest, StoredForceShutdownWithAutoSaveIsShownAsStored) {
  WriteSettings("[PAGE1]\r\nPOWERFAIL_AUTO_SAVE=1\r\nPOWERFAIL_SHUTDOWN_TYPE=1\r\n");
  StartQuietly();
  EXPECT_TRUE(Ticked(form->Page1.CheckBox2));
  EXPECT_TRUE(On(form->Page1.CheckBox2));
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PageRulesTest, LanguageListKeepsAtMostOneTick) {
  std::filesystem::create_directories(folder.File("Languages\\English"));
  std::filesystem::create_directories(folder.File("Languages\\Other"));
  StartQuietly();
  ASSERT_TRUE(form->Page3.CheckListBox2.Checked(0));
  ToggleTick(form->Page3.CheckListBox2, 1);
  EXPECT_FALSE(form->Page3.CheckListBox2.Checked(0));
  EXPECT_TRUE(form->Page3.CheckListBox2.Checked(1));
  ToggleTick(form->Page3.CheckListBox2, 1);
  EXPECT_FALSE(form->Page3.CheckListBox2.Checked(1));
}

}  // namespace
