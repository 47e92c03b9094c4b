// The overview window: its frame and controls, its filling from the store,
// the weekly rules and the texts at every showing, and its modal showing.
#include <functional>

#include "MainWindowFixture.h"
#include "support/RunSoon.h"

namespace {

using Cells = std::vector<std::string>;

struct Column {
  int width;
  int format;
};

Column ColumnOf(const ui::ReportList& list, int index) {
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH | LVCF_FMT;
  SendMessageW(list.Handle(), LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
  return {column.cx, column.fmt & LVCFMT_JUSTIFYMASK};
}

RECT ScreenRect(HWND hwnd) {
  RECT rect;
  GetWindowRect(hwnd, &rect);
  return rect;
}

std::vector<bool> Ticks(const ui::TickList& list) {
  std::vector<bool> ticks;
  for (int row = 0; row < list.Count(); ++row) ticks.push_back(list.Checked(row));
  return ticks;
}


class ViewAllTest : public MainWindowTest {
 protected:
  TFormViewAll& View() { return *viewAll; }
  void Fill() { View().FormShow(*form->Schedule(), *form->Settings(), *form->Language(), module->AString1); }
  Cells Row(int row) {
    const ui::ReportList& list = View().ListView1;
    return {list.Cell(row, 0), list.Cell(row, 1), list.Cell(row, 2), list.Cell(row, 3)};
  }
  void ShowModal() {
    View().ShowModalFor(*form->Schedule(), *form->Settings(), *form->Language(), module->AString1);
  }
};

TEST_F(ViewAllTest, WindowHasItsTitleFrameAndControlsAndStartsHidden) {
  StartQuietly();
  TFormViewAll& v = View();
  EXPECT_FALSE(IsWindowVisible(v.Handle()));
  EXPECT_EQ(ui::WindowText(v.Handle()), "Ombrel Calendar View Version 7.20");
  RECT outer = ScreenRect(v.Handle());
  EXPECT_EQ(outer.right - outer.left, 438);
  EXPECT_EQ(outer.bottom - outer.top, 457);
  LONG style = GetWindowLongW(v.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_EQ(GetWindow(v.Handle(), GW_OWNER), form->Handle());

  ui::Bounds list = v.ListView1.Place();
  EXPECT_EQ(std::vector<int>({list.left, list.top, list.width, list.height}),
            std::vector<int>({16, 16, 401, 189}));
  EXPECT_EQ(SendMessageW(v.ListView1.Handle(), LVM_GETBKCOLOR, 0, 0), RGB(183, 255, 183));
  EXPECT_TRUE(SendMessageW(v.ListView1.Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES);
  EXPECT_FALSE(GetWindowLongW(v.ListView1.Handle(), GWL_STYLE) & LVS_EDITLABELS);
  const Column columns[] = {
      {80, LVCFMT_LEFT}, {80, LVCFMT_CENTER}, {141, LVCFMT_CENTER}, {80, LVCFMT_CENTER}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(ColumnOf(v.ListView1, i).width, columns[i].width) << i;
    EXPECT_EQ(ColumnOf(v.ListView1, i).format, columns[i].format) << i;
  }
  EXPECT_EQ(v.ListView1.ColumnCaption(3), "WARNING");

  const int lefts[] = {16, 160, 308};
  int kind = 0;
  for (const TFormViewAll::WeeklyPanel& weekly : v.WeeklyPanels()) {
    RECT panel = ScreenRect(weekly.panel.Handle());
    POINT corner{panel.left, panel.top};
    ScreenToClient(v.Handle(), &corner);
    EXPECT_EQ(corner.x, lefts[kind]);
    EXPECT_EQ(corner.y, 208);
    EXPECT_EQ(panel.right - panel.left, 109);
    EXPECT_EQ(panel.bottom - panel.top, 181);
    EXPECT_FALSE(IsWindowEnabled(weekly.panel.Handle()));
    EXPECT_EQ(weekly.panel.Outer(), ui::Bevel::None);
    EXPECT_EQ(weekly.panel.Inner(), ui::Bevel::None);
    ui::Bounds days = weekly.days.Place();
    EXPECT_EQ(std::vector<int>({days.left, days.top, days.width, days.height}),
              std::vector<int>({4, 44, 85, 133}));
    EXPECT_EQ(weekly.days.Count(), 7);
    ++kind;
  }

  RECT client;
  GetClientRect(v.Handle(), &client);
  RECT close = ScreenRect(v.ButtonClose.Handle());
  POINT closeAt{close.left, close.top};
  ScreenToClient(v.Handle(), &closeAt);
  EXPECT_EQ(close.right - close.left, 81);
  EXPECT_EQ(close.bottom - close.top, 25);
  EXPECT_EQ(closeAt.x, (client.right - 81) / 2);
  EXPECT_GE(closeAt.y, client.bottom - 37);
}

TEST_F(ViewAllTest, ShowsEveryStoreLineInStoreOrderAndTheWeeklyRules) {
  folder.Write("SCHEDULE.TXT",
               "2024/06/01,SHUTDOWN,18:30,1\r\n"
               "2024/05/17,TESTUPS,21:05,0\r\n"
               "2024/05/17,SHUTDOWN\r\n"
               "just text\r\n");
  WriteSettings(
      "[PAGE2]\r\nWEEKLY_SCHEDULE_SHUTDOWN_DAY=0100010\r\nWEEKLY_SCHEDULE_SHUTDOWN_HOUR=7\r\n"
      "WEEKLY_SCHEDULE_SHUTDOWN_MINUTE=5\r\nWEEKLY_SCHEDULE_TESTUPS_DAY=1000001\r\n"
      "WEEKLY_SCHEDULE_TESTUPS_HOUR=23\r\nWEEKLY_SCHEDULE_TESTUPS_MINUTE=45\r\n");
  StartQuietly();
  Fill();
  TFormViewAll& v = View();
  ASSERT_EQ(v.ListView1.RowCount(), 4);
  EXPECT_EQ(Row(0), (Cells{"2024/06/01", "18:30", "Shutdown", "YES"}));
  EXPECT_EQ(Row(1), (Cells{"2024/05/17", "21:05", "TestUPS", "NO"}));
  EXPECT_EQ(Row(2), (Cells{"2024/05/17", "", "Shutdown", ""}));
  EXPECT_EQ(Row(3), (Cells{"just text", "", "", ""}));

  EXPECT_EQ(Ticks(v.CheckListBox3), std::vector<bool>({false, true, false, false, false, true, false}));
  EXPECT_EQ(Ticks(v.CheckListBox1), std::vector<bool>(7, false));
  EXPECT_EQ(Ticks(v.CheckListBox2), std::vector<bool>({true, false, false, false, false, false, true}));
  EXPECT_EQ(TextOf(v.Label7), "07:05");
  EXPECT_EQ(TextOf(v.Label8), "12:00");
  EXPECT_EQ(TextOf(v.Label9), "23:45");
  EXPECT_EQ(TextOf(v.Label2), "TIME");
  EXPECT_EQ(TextOf(v.Label1), "Shutdown");
  EXPECT_EQ(TextOf(v.Label3), "StartUp");
  EXPECT_EQ(TextOf(v.Label5), "TestUPS");
  EXPECT_EQ(v.CheckListBox1.RowText(3), "Wednesday");
  EXPECT_EQ(v.ListView1.ColumnCaption(0), "DAY");
  EXPECT_EQ(v.ListView1.ColumnCaption(3), "Warning");
  EXPECT_EQ(TextOf(v.ButtonClose), "Close");
}

TEST_F(ViewAllTest, EveryShowingIsFilledAfreshAfterTheStoreChanged) {
  folder.Write("SCHEDULE.TXT", "2024/05/17,TESTUPS,21:05,0\r\n");
  StartQuietly();
  Fill();
  ASSERT_EQ(View().ListView1.RowCount(), 1);

  // What Apply does: a new event, a changed one, and a weekly day.
  TSchedule& store = *form->Schedule();
  store.Kind = "STARTUP";
  store.SetEvent("2024/05/20", "07:00", true);
  store.Kind = "TESTUPS";
  store.SetEvent("2024/05/17", "06:15", true);
  form->Settings()->WEEKLY_SCHEDULE_STARTUP_DAY = "0010000";
  form->Settings()->WEEKLY_SCHEDULE_STARTUP_HOUR = 6;
  Fill();
  ASSERT_EQ(View().ListView1.RowCount(), 2);
  EXPECT_EQ(Row(0), (Cells{"2024/05/17", "06:15", "TestUPS", "YES"}));
  EXPECT_EQ(Row(1), (Cells{"2024/05/20", "07:00", "StartUp", "YES"}));
  EXPECT_EQ(Ticks(View().CheckListBox1), std::vector<bool>({false, false, true, false, false, false, false}));
  EXPECT_EQ(TextOf(View().Label8), "06:00");

  store.Clear();
  Fill();
  EXPECT_EQ(View().ListView1.RowCount(), 0);
}

TEST_F(ViewAllTest, TextsAndFontComeFromTheLanguageInUse) {
  std::filesystem::create_directories(folder.File("Languages\\Deutsch"));
  folder.Write("Languages\\Deutsch\\setup.ini",
               "[COMMON_SETUP]\r\nFONTNAME=Tahoma\r\nFONTSIZE=9\r\n" +
                   ReadFileBytes(std::string(OMBREL_LANGUAGES_DIR) + "\\Deutsch\\setup.ini"));
  folder.Write("SCHEDULE.TXT", "2024/05/17,TESTUPS,21:05,0\r\n2024/05/18,SHUTDOWN,08:00,1\r\n");
  WriteSettings("[PAGE3]\r\nLANGUAGE=Deutsch\r\n");
  StartQuietly();
  Fill();
  TFormViewAll& v = View();
  EXPECT_EQ(Row(0), (Cells{"2024/05/17", "21:05", "USV-Test", "Nein"}));
  EXPECT_EQ(Row(1), (Cells{"2024/05/18", "08:00", "Ausschalten", "Ja"}));
  EXPECT_EQ(v.ListView1.ColumnCaption(0), "Datum");
  EXPECT_EQ(v.ListView1.ColumnCaption(2), "Art");
  EXPECT_EQ(v.ListView1.ColumnCaption(3), "Warnung");
  EXPECT_EQ(TextOf(v.Label4), "Zeit");
  EXPECT_EQ(TextOf(v.Label3), "Einschalten");
  EXPECT_EQ(v.CheckListBox2.RowText(0), "Sonntag");
  EXPECT_EQ(TextOf(v.ButtonClose),
            "Schlie\xDF"
            "en");
  for (HWND control :
       {v.ListView1.Handle(), v.ButtonClose.Handle(), v.Label9.Handle(), v.CheckListBox3.Handle()}) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_STREQ(font.lfFaceName, L"Tahoma");
    EXPECT_EQ(font.lfHeight, -12);
  }
}

TEST_F(ViewAllTest, ShowsModallyOverADisabledMainWindowUntilEscape) {
  folder.Write("SCHEDULE.TXT", "2024/05/17,TESTUPS,21:05,0\r\n");
  StartQuietly();
  bool sawIt = false;
  RunSoon([&] {
    TFormViewAll& v = View();
    sawIt = true;
    EXPECT_TRUE(v.Showing());
    EXPECT_TRUE(IsWindowVisible(v.Handle()));
    EXPECT_FALSE(IsWindowEnabled(form->Handle()));
    EXPECT_EQ(v.ListView1.RowCount(), 1);
    RECT outer = ScreenRect(v.Handle());
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 438) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 457) / 2);
    EXPECT_EQ(GetFocus(), v.ListView1.Handle());
    // Escape in the table closes the window.
    PostMessageW(v.ListView1.Handle(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  });
  ShowModal();
  EXPECT_TRUE(sawIt);
  EXPECT_FALSE(View().Showing());
  EXPECT_FALSE(IsWindowVisible(View().Handle()));
  EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

TEST_F(ViewAllTest, CloseButtonEndsTheShowing) {
  StartQuietly();
  bool sawIt = false;
  RunSoon([&] {
    sawIt = true;
    EXPECT_EQ(View().ListView1.RowCount(), 0);
    SendMessageW(View().ButtonClose.Handle(), BM_CLICK, 0, 0);
  });
  ShowModal();
  EXPECT_TRUE(sawIt);
  EXPECT_FALSE(IsWindowVisible(View().Handle()));
  EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

TEST_F(ViewAllTest, ViewAllButtonAfterApplyListsTheNewEventBeforeAnythingIsSaved) {
  StartQuietly();
  form->PageControl1.SetActive(1);
  if (!Ticked(form->Page2.CheckBox5)) Click(form->Page2.CheckBox5);
  if (!form->Page2.MarkerTest.Down()) Click(form->Page2.MarkerTest);
  SetWindowTextW(form->Page2.ComboBox13.TypingTarget(), L"21");
  SetWindowTextW(form->Page2.ComboBox17.TypingTarget(), L"05");
  Click(form->Page2.ButtonApply);
  bool sawIt = false;
  RunSoon([&] {
    sawIt = true;
    EXPECT_FALSE(IsWindowEnabled(form->Handle()));
    EXPECT_EQ(View().ListView1.RowCount(), 1);
    EXPECT_EQ(Row(0), (Cells{"2024/05/17", "21:05", "TestUPS", "NO"}));
    SendMessageW(View().ButtonClose.Handle(), BM_CLICK, 0, 0);
  });
  Click(form->Page2.ButtonViewAll);
  EXPECT_TRUE(sawIt);
  EXPECT_FALSE(folder.Exists("SCHEDULE.TXT"));
  EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

}  // namespace
