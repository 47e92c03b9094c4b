// Input rules of single fields: key filters, lengths, spinners, cable list,
// browsing, shutdown type, and the keys the window itself takes.
#include "MainWindowFixture.h"
#include "platform/FileSystem.h"

namespace {

using Kind = FakeDialogs::Kind;

class FieldRulesTest : public MainWindowTest {};

TEST_F(FieldRulesTest, NumberFieldsTakeDigitsAndBackspaceOnly) {
  StartQuietly();
  TFormMain& f = *form;
  Click(f.Page1.CheckBox11);  // the backup minutes editable
  Click(f.Page2.CheckBox5);
  const HWND fields[] = {f.Page1.Edit1.Handle(),
                         f.Page1.Edit2.Handle(),
                         f.Page3.Edit3.Handle(),
                         f.Page3.Edit5.Handle(),
                         f.Page2.ComboBox13.TypingTarget(),
                         f.Page2.ComboBox17.TypingTarget()};
  for (HWND field : fields) {
    SCOPED_TRACE(ui::WindowText(field));
    ui::SetWindowText(field, "");
    Type(field, "a -\x16+1");
    EXPECT_EQ(ui::WindowText(field), "1");
    Type(field, "\b2");
    EXPECT_EQ(ui::WindowText(field), "2");
  }
}

TEST_F(FieldRulesTest, PastingIntoANumberFieldDoesNothing) {
  StartQuietly();
  std::wstring text = L"x9";
  if (OpenClipboard(form->Handle())) {
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
  }
  ui::SetWindowText(form->Page3.Edit3.Handle(), "1");
  SendMessageW(form->Page3.Edit3.Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(TextOf(form->Page3.Edit3), "1");
  SendMessageW(form->Page3.Edit4.Handle(), WM_PASTE, 0, 0);  // a free-text field does paste
  EXPECT_NE(TextOf(form->Page3.Edit4).find("x9"), std::string::npos);
}

TEST_F(FieldRulesTest, NumberFieldsStopAtTheirLength) {
  StartQuietly();
  TFormMain& f = *form;
  Click(f.Page2.CheckBox5);
  struct Case {
    HWND field;
    size_t length;
  };
  for (const Case& c : {Case{f.Page1.Edit1.Handle(), 2}, Case{f.Page3.Edit3.Handle(), 4}, Case{f.Page3.Edit5.Handle(), 2},
                        Case{f.Page2.ComboBox13.TypingTarget(), 2}, Case{f.Page2.ComboBox17.TypingTarget(), 2}}) {
    ui::SetWindowText(c.field, "");
    Type(c.field, "123456");
    EXPECT_EQ(ui::WindowText(c.field), std::string("123456").substr(0, c.length));
  }
  Type(f.Page3.Edit4, std::string(300, 'p'));
  EXPECT_EQ(TextOf(f.Page3.Edit4).size(), fs_seam::CurrentDirectory().size() + 13 + 300);
}

TEST_F(FieldRulesTest, TypingIntoDropDownListsChangesNothing) {
  StartQuietly();
  TFormMain& f = *form;
  for (ui::ComboBox* box :
       {&f.Page1.ComboBox1, &f.Page1.ComboBox3, &f.Page2.ComboBox7, &f.Page2.ComboBox8, &f.Page3.ComboBox9, &f.Page2.ComboBox11}) {
    int before = box->ItemIndex();
    Type(box->Handle(), "2Hc");
    EXPECT_EQ(box->ItemIndex(), before);
  }
}

TEST_F(FieldRulesTest, SpinnerKeepsItsOwnPositionWhateverIsTyped) {
  StartQuietly();
  TFormMain& f = *form;
  ASSERT_EQ(f.Page1.UpDown1.Position(), 2);
  Empty(f.Page1.Edit1);
  Type(f.Page1.Edit1, "7");
  ClickArrow(f.Page1.UpDown1, true);
  EXPECT_EQ(TextOf(f.Page1.Edit1), "3");
  ClickArrow(f.Page1.UpDown1, false);
  ClickArrow(f.Page1.UpDown1, false);
  EXPECT_EQ(TextOf(f.Page1.Edit1), "1");
}

TEST_F(FieldRulesTest, SpinnerAtItsEndMovesNothingAndLeavesTheField) {
  WriteSettings("[PAGE1]\r\nBACKUP_TIME=99\r\nRUNTIME_ZERO_SHUTDOWN_STATUS=0\r\n");
  StartQuietly();
  ASSERT_TRUE(On(form->Page1.UpDown2));
  Empty(form->Page1.Edit2);
  ClickArrow(form->Page1.UpDown2, true);
  EXPECT_EQ(TextOf(form->Page1.Edit2), "");
  EXPECT_EQ(form->Page1.UpDown2.Position(), 99);
  ClickArrow(form->Page1.UpDown2, false);
  EXPECT_EQ(TextOf(form->Page1.Edit2), "98");
}

TEST_F(FieldRulesTest, CableListKeepsAtMostOneTick) {
  WriteSettings("[PAGE1]\r\nUPSTYPE=2\r\n");
  StartQuietly();
  ui::TickList& cable = form->Page1.CheckListBox4;
  ASSERT_TRUE(cable.Checked(0));
  ToggleTick(cable, 1);
  EXPECT_FALSE(cable.Checked(0));
  EXPECT_TRUE(cable.Checked(1));
  ToggleTick(cable, 1);
  EXPECT_FALSE(cable.Checked(0));
  EXPECT_FALSE(cable.Checked(1));
}

TEST_F(FieldRulesTest, ShutdownTypeRulesInBothGroups) {
  WriteSettings("[PAGE1]\r\nPOWERFAIL_AUTO_SAVE=1\r\n[PAGE2]\r\nSCHEDULE_AUTO_SAVE=1\r\n");
  StartQuietly();
  const std::string warning = "You must sure that Hardware and software support for this function.";
  struct Group {
    ui::ComboBox* type;
    ui::CheckBox* autoSave;
  };
  for (Group g : {Group{&form->Page1.ComboBox3, &form->Page1.CheckBox2}, Group{&form->Page2.ComboBox11, &form->Page2.CheckBox6}}) {
    dialogs.shown.clear();
    ASSERT_TRUE(Ticked(*g.autoSave));
    Choose(*g.type, 0);
    EXPECT_TRUE(Ticked(*g.autoSave));
    EXPECT_TRUE(dialogs.shown.empty());
    Choose(*g.type, 2);
    EXPECT_FALSE(Ticked(*g.autoSave));
    EXPECT_TRUE(On(*g.autoSave));
    Click(*g.autoSave);
    Choose(*g.type, 2);
    EXPECT_FALSE(Ticked(*g.autoSave));
    EXPECT_EQ(dialogs.TextsOf(Kind::Message), (std::vector<std::string>{warning, warning}));
    Choose(*g.type, 1);
    EXPECT_FALSE(On(*g.autoSave));
    EXPECT_EQ(dialogs.shown.size(), 2u);
    Choose(*g.type, 0);
    EXPECT_TRUE(On(*g.autoSave));
    EXPECT_FALSE(Ticked(*g.autoSave));
  }
}

TEST_F(FieldRulesTest, BrowsingForADriveRoot) {
  StartQuietly();
  dialogs.browseAnswers = {std::string("D:\\"), std::string("D:\\")};
  Click(form->Page3.SpeedButton1);
  Click(form->Page3.SpeedButton2);
  EXPECT_EQ(TextOf(form->Page3.Edit4), "D:\\EVENTLOG.TXT");
  EXPECT_EQ(TextOf(form->Page3.Edit6), "D:\\");
  EXPECT_EQ(dialogs.TextsOf(Kind::Browse),
            (std::vector<std::string>{"Please specific Ombrel Folder", "Please specific Ombrel Folder"}));
  EXPECT_EQ(dialogs.browseTitles,
            (std::vector<std::string>{"Browse for Ombrel Folder", "Browse for Ombrel Folder"}));
}

TEST_F(FieldRulesTest, BrowsingForAFolderAndCancelling) {
  StartQuietly();
  dialogs.browseAnswers = {std::string("C:\\Logs\\Ups"), std::string("C:\\Logs\\Ups")};
  Click(form->Page3.SpeedButton1);
  Click(form->Page3.SpeedButton2);
  EXPECT_EQ(TextOf(form->Page3.Edit4), "C:\\Logs\\Ups\\EVENTLOG.TXT");
  EXPECT_EQ(TextOf(form->Page3.Edit6), "C:\\Logs\\Ups\\");
  dialogs.browseAnswers = {std::nullopt, std::nullopt};
  Click(form->Page3.SpeedButton1);
  Click(form->Page3.SpeedButton2);
  EXPECT_EQ(TextOf(form->Page3.Edit4), "C:\\Logs\\Ups\\EVENTLOG.TXT");
  EXPECT_EQ(TextOf(form->Page3.Edit6), "C:\\Logs\\Ups\\");
}

TEST_F(FieldRulesTest, EnterMovesToTheNextFieldAndNeverReachesIt) {
  StartQuietly();
  TFormMain& f = *form;
  Click(f.Page1.CheckBox11);
  Type(f.Page1.Edit1, "\r");
  EXPECT_EQ(GetFocus(), f.Page1.CheckBox9.Handle());
  Type(GetFocus(), "\r");
  EXPECT_EQ(GetFocus(), f.Page1.Edit2.Handle());
  EXPECT_EQ(TextOf(f.Page1.Edit1), "2");
  // Disabled fields are passed by: the overload minutes off, Enter on its box goes to "Power fail for ".
  Click(f.Page1.CheckBox1);
  Type(f.Page1.CheckBox1.Handle(), "\r");
  EXPECT_EQ(GetFocus(), f.Page1.CheckBox9.Handle());
  // The last control that can take the focus (the cable list is disabled) leads back to the first.
  Type(f.Page1.CheckBox3.Handle(), "\r");
  EXPECT_EQ(GetFocus(), f.Page1.ComboBox1.Handle());
}

TEST_F(FieldRulesTest, TabWalksEachPageInItsKeyboardOrder) {
  WriteSettings("[PAGE1]\r\nUPSTYPE=2\r\n");  // the cable list enabled, the backup minutes editable
  StartQuietly();
  TFormMain& f = *form;
  Click(f.Page1.CheckBox1);  // the overload box is disabled in the generic series; its minutes are passed by
  auto walk = [&](ui::Control& first, size_t steps) {
    std::vector<HWND> visited;
    SetFocus(first.Handle());
    for (size_t i = 0; i < steps; ++i) {
      PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
      Pump();
      visited.push_back(GetFocus());
    }
    return visited;
  };
  EXPECT_EQ(walk(f.Page1.ComboBox1, 9),
            (std::vector<HWND>{f.Page1.CheckBox4.Handle(), f.Page1.CheckBox9.Handle(), f.Page1.Edit2.Handle(), f.Page1.CheckListBox1.Handle(),
                               f.Page1.CheckBox2.Handle(), f.Page1.ComboBox3.Handle(), f.Page1.CheckBox3.Handle(),
                               f.Page1.CheckListBox4.Handle(), f.Page1.ComboBox1.Handle()}));
  f.PageControl1.SetActive(2);
  EXPECT_EQ(walk(f.Page3.Edit3, 3), (std::vector<HWND>{f.Page3.Edit4.Handle(), f.Page3.CheckListBox2.Handle(), f.Page3.Edit3.Handle()}));
}

TEST_F(FieldRulesTest, DrawnButtonsNeverTakeTheFocus) {
  StartQuietly();
  SetFocus(form->Page3.Edit3.Handle());
  dialogs.browseAnswers = {std::nullopt};
  RECT client;
  GetClientRect(form->Page3.SpeedButton1.Handle(), &client);
  SendMessageW(form->Page3.SpeedButton1.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(form->Page3.SpeedButton1.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  Pump();
  EXPECT_EQ(GetFocus(), form->Page3.Edit3.Handle());
  EXPECT_EQ(dialogs.TextsOf(Kind::Browse).size(), 1u);
  EXPECT_FALSE(GetWindowLongW(form->ButtonOK.Handle(), GWL_STYLE) & WS_TABSTOP);
}

}  // namespace
