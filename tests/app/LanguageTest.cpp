// The language of the text table on the main window, the language list's one
// tick, and OK storing the chosen language for the next start.
#include <filesystem>

#include "MainWindowFixture.h"

namespace {

std::wstring WideText(HWND hwnd) {
  std::wstring text(GetWindowTextLengthW(hwnd) + 1, L'\0');
  text.resize(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size())));
  return text;
}

std::wstring TabCaption(const ui::TabPages& tabs, int index) {
  wchar_t text[128] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 128;
  SendMessageW(tabs.Handle(), TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
  return text;
}

std::wstring ComboRow(const ui::ComboBox& box, int row) {
  std::wstring text(SendMessageW(box.Handle(), CB_GETLBTEXTLEN, row, 0) + 1, L'\0');
  text.resize(SendMessageW(box.Handle(), CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text.data())));
  return text;
}

std::vector<std::string> Rows(const ui::TickList& list) {
  std::vector<std::string> rows;
  for (int row = 0; row < list.Count(); ++row) rows.push_back(list.RowText(row));
  return rows;
}

LOGFONTW FontOf(const ui::Control& control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control.Handle(), WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font;
}

// How many pixels of the colour a window paints into its client area.
int PixelsOf(HWND hwnd, COLORREF colour) {
  RECT client;
  GetClientRect(hwnd, &client);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP picture = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = SelectObject(dc, picture);
  SendMessageW(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  int count = 0;
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x) count += GetPixel(dc, x, y) == colour;
  SelectObject(dc, old);
  DeleteObject(picture);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return count;
}

class LanguageTest : public MainWindowTest {
 protected:
  // A language folder with its file; the settings name it.
  void UseLanguage(const std::string& name, const std::string& file) {
    std::filesystem::create_directories(folder.File("Languages\\" + name));
    folder.Write("Languages\\" + name + "\\setup.ini", file);
    WriteSettings("[PAGE3]\r\nLANGUAGE=" + name + "\r\n");
  }
  void UseShippedGerman() {
    UseLanguage("Deutsch", ReadFileBytes(std::string(OMBREL_LANGUAGES_DIR) + "\\Deutsch\\setup.ini"));
  }
  // The label's left edge centred across the marker panel, as integer division gives it.
  int CentredLeft(const ui::Label& label) const {
    RECT panel;
    GetWindowRect(form->Page2.Panel4.Handle(), &panel);
    return (panel.right - panel.left - label.Place().width) / 2;
  }
};

// Captions whose built-in text differs from the text table's English default.
struct CaptionPair {
  const ui::Control* control;
  std::string builtIn;
  std::string fromTable;
};
std::vector<CaptionPair> DifferingCaptions(const TFormMain& f) {
  return {{&f.ButtonCancel, "Cancel", "CANCEL"},
          {&f.Page1.Label3, "Minutes", "Minute"},
          {&f.Page1.Label10, "minutes", "Minute"},
          {&f.Page3.Label30, "records", "record(s)"},
          {&f.Page3.Label38, "second", "seconds"},
          {&f.Page2.Label4, "StartUp Time     :", "StartUp Time :"},
          {&f.Page3.GroupBox2, " Event Log ", "Event Log"},
          {&f.Page1.CheckBox4, "Run Ombrel when startup ", "Run Ombrel when startup"},
          {&f.Page1.CheckBox9, "Power fail for ", "Power fail for"}};
}

TEST_F(LanguageTest, WithoutLanguageFileTheBuiltInCaptionsStay) {
  StartQuietly();
  TFormMain& f = *form;
  for (const CaptionPair& caption : DifferingCaptions(f))
    EXPECT_EQ(TextOf(*caption.control), caption.builtIn);
  EXPECT_EQ(Rows(f.Page2.CheckListBox3)[3], "Wednday");
  EXPECT_EQ(Rows(f.Page1.CheckListBox1)[2], "Soranthe series");
  EXPECT_EQ(Rows(f.Page1.CheckListBox4)[0], "Tarvexi Cable");
  EXPECT_EQ(TextOf(f.Page2.MarkerStartup), "StartUp");
}

TEST_F(LanguageTest, FileWithOnlyTheCommonSectionShowsTheEnglishDefaults) {
  UseLanguage("English", "[COMMON_SETUP]\r\nFONTNAME=Tahoma\r\nFONTSIZE=10\r\n");
  StartQuietly();
  TFormMain& f = *form;
  for (const CaptionPair& caption : DifferingCaptions(f))
    EXPECT_EQ(TextOf(*caption.control), caption.fromTable);
  EXPECT_EQ(TextOf(f.ButtonOK), "OK");
  EXPECT_EQ(TextOf(f.Page2.Label24), "Min.");
  for (const ui::Group* group :
       {&f.Page1.GroupBox7, &f.Page1.GroupBox8, &f.Page2.GroupBox3, &f.Page2.GroupBox14, &f.Page3.GroupBox2, &f.Page3.GroupBox1}) {
    std::string caption = TextOf(*group);
    ASSERT_FALSE(caption.empty());
    EXPECT_NE(caption.front(), ' ') << caption;
    EXPECT_NE(caption.back(), ' ') << caption;
  }
  EXPECT_EQ(TextOf(f.Page1.GroupBox7), "Shutdown computer when");
  EXPECT_EQ(Rows(f.Page2.CheckListBox3), (std::vector<std::string>{"Sunday", "Monday", "Tuesday", "Wednesday",
                                                             "Thursday", "Friday", "Saturday"}));
  EXPECT_EQ(Rows(f.Page1.CheckListBox1), (std::vector<std::string>{"QZ series", "Velto series", "Soranthe Series",
                                                             "Generic Series [ Dry contact ]"}));
  EXPECT_EQ(Rows(f.Page1.CheckListBox4), (std::vector<std::string>{"Cable KR404D", "Ombrel Adaptor"}));
  EXPECT_EQ(TabCaption(f.PageControl1, 2), L"Others");
  EXPECT_EQ(ui::WindowText(f.Handle()), "Ombrel Setup Version 7.20");

  // The window's font on the controls that follow it; the note bold and red,
  // the page title in the window's font and blue.
  for (const ui::Control* control :
       std::initializer_list<const ui::Control*>{&f.ButtonCancel, &f.Page1.Label1, &f.Page1.ComboBox1, &f.Page2.CheckListBox3,
                                                 &f.Page3.GroupBox2, &f.Page3.Edit3, &f.Page2.Calendar1}) {
    LOGFONTW font = FontOf(*control);
    EXPECT_STREQ(font.lfFaceName, L"Tahoma");
    EXPECT_EQ(font.lfHeight, -MulDiv(10, 96, 72));
    EXPECT_LT(font.lfWeight, FW_BOLD);
  }
  LOGFONTW calendar = FontOf(f.Page2.Calendar1);
  EXPECT_STREQ(calendar.lfFaceName, L"Tahoma");
  EXPECT_EQ(calendar.lfHeight, -MulDiv(10, 96, 72));
  EXPECT_STREQ(FontOf(f.Page3.SpeedButton1).lfFaceName, L"Arial");
  EXPECT_STREQ(FontOf(f.Page3.SpeedButton2).lfFaceName, L"Arial");
  LOGFONTW note = FontOf(f.Page1.Label8);
  EXPECT_STREQ(note.lfFaceName, L"Tahoma");
  EXPECT_EQ(note.lfHeight, -MulDiv(10, 96, 72));
  EXPECT_EQ(note.lfWeight, FW_BOLD);
  EXPECT_GT(PixelsOf(f.Page1.Label8.Handle(), RGB(255, 0, 0)), 20);
  EXPECT_GT(PixelsOf(f.Page2.Panel3.Handle(), RGB(0, 0, 255)), 20);
}

TEST_F(LanguageTest, RefilledListsShowTheStoredRowsAgain) {
  UseLanguage("English", "[SETUP_PAGE_1]\r\nCOM_3=Port drei\r\nFORCE_SHUTDOWN=Hart\r\n");
  folder.Write("omb.ini",
               "[PAGE1]\r\nUPSPORT=3\r\nPOWERFAIL_SHUTDOWN_TYPE=1\r\n[PAGE3]\r\nLANGUAGE=English\r\n");
  StartQuietly();
  EXPECT_EQ(TextOf(form->Page1.ComboBox1), "Port drei");
  EXPECT_EQ(TextOf(form->Page1.ComboBox3), "Hart");
  EXPECT_EQ(form->Page2.ComboBox7.ItemIndex(), 4);  // May, today's month
  EXPECT_EQ(TextOf(form->Page2.ComboBox7), "May");
  EXPECT_EQ(form->Page2.ComboBox11.Count(), 3);
}

TEST_F(LanguageTest, MarkerLabelsAreCentredUnderTheirButtonsEvenWhenWider) {
  UseLanguage("English", "[SETUP_PAGE_2]\r\nSHUTDOWN=Rechner jetzt ausschalten\r\nTESTUPS=T\r\n");
  StartQuietly();
  TFormMain& f = *form;
  int topBefore = 24;
  EXPECT_EQ(TextOf(f.Page2.Label27), "Rechner jetzt ausschalten");
  ui::Bounds wide = f.Page2.Label27.Place();
  EXPECT_GT(wide.width, 67);
  EXPECT_LT(wide.left, 0);
  EXPECT_EQ(wide.left, CentredLeft(f.Page2.Label27));
  EXPECT_EQ(wide.top, topBefore);
  EXPECT_EQ(f.Page2.Label28.Place().left, CentredLeft(f.Page2.Label28));
  ui::Bounds narrow = f.Page2.Label29.Place();
  EXPECT_GT(narrow.left, 20);
  EXPECT_EQ(narrow.left, CentredLeft(f.Page2.Label29));
  EXPECT_EQ(narrow.top, 108);
}

TEST_F(LanguageTest, GermanFileTranslatesTheWholeWindow) {
  UseShippedGerman();
  StartQuietly();
  TFormMain& f = *form;
  EXPECT_EQ(TabCaption(f.PageControl1, 0), L"Ombrel-Einstellungen");
  EXPECT_EQ(TabCaption(f.PageControl1, 1), L"Zeitplan");
  EXPECT_EQ(TabCaption(f.PageControl1, 2), L"Sonstiges");
  EXPECT_EQ(WideText(f.ButtonCancel.Handle()), L"Abbrechen");
  EXPECT_EQ(WideText(f.Page1.CheckBox1.Handle()), L"\u00DCberlast nach");
  EXPECT_EQ(WideText(f.Page2.ButtonApply.Handle()), L"Setzen");
  EXPECT_EQ(WideText(f.Page2.ButtonClear.Handle()), L"L\u00F6schen");
  EXPECT_EQ(WideText(f.Page2.Panel3.Handle()), L"");  // the title is painted, not a window text
  EXPECT_EQ(f.Page2.Panel3.Caption(), "Zeitplan");
  EXPECT_EQ(WideText(f.Page3.Label33.Handle()), L"Intervall");
  EXPECT_EQ(ComboRow(f.Page2.ComboBox7, 2), L"M\u00E4rz");
  EXPECT_EQ(TextOf(f.Page2.ComboBox7), "Mai");
  EXPECT_EQ(Rows(f.Page2.CheckListBox3)[3], "Mittwoch");
  EXPECT_EQ(TextOf(f.Page2.Label27), "Ausschalten");
  EXPECT_EQ(f.Page2.Label27.Place().left, CentredLeft(f.Page2.Label27));
  // The marker buttons show a colour only; their names are for screen readers.
  EXPECT_EQ(TextOf(f.Page2.MarkerShutdown), "Ausschalten");
  EXPECT_EQ(TextOf(f.Page2.MarkerTest), "USV-Test");
  EXPECT_EQ(WideText(f.Page1.UpDown1.Handle()), L"\u00DCberlast nach");
  EXPECT_EQ(ui::WindowText(f.Handle()), "Ombrel Setup Version 7.20");
  // The language list ticks the language in use.
  ASSERT_EQ(f.Page3.CheckListBox2.Count(), 1);
  EXPECT_TRUE(f.Page3.CheckListBox2.Checked(0));
}

TEST_F(LanguageTest, Utf8FileWithByteOrderMarkShowsItsLettersAsWritten) {
  UseLanguage("Deutsch",
              "\xEF\xBB\xBF[COMMON_SETUP]\r\nCANCEL=Schlie\xC3\x9F"
              "en\r\n[SETUP_PAGE_2]\r\nMARCH=M\xC3\xA4rz\r\nAPPLY=\xC3\x9C"
              "bernehmen\r\n");
  StartQuietly();
  if (GetACP() != 1252 && GetACP() != CP_UTF8)
    GTEST_SKIP() << "code page " << GetACP() << " lacks the letters";
  EXPECT_EQ(WideText(form->ButtonCancel.Handle()), L"Schlie\u00DFen");
  EXPECT_EQ(WideText(form->Page2.ButtonApply.Handle()), L"\u00DCbernehmen");
  EXPECT_EQ(ComboRow(form->Page2.ComboBox7, 2), L"M\u00E4rz");
}

TEST_F(LanguageTest, TickingALanguageUnticksTheOthersAndChangesNoCaption) {
  UseShippedGerman();
  for (const char* other : {"English", "Francais"})
    std::filesystem::create_directories(folder.File(std::string("Languages\\") + other));
  StartQuietly();
  ui::TickList& list = form->Page3.CheckListBox2;
  ASSERT_EQ(Rows(list), (std::vector<std::string>{"Deutsch", "English", "Francais"}));
  ASSERT_TRUE(list.Checked(0));
  ToggleTick(list, 2);
  EXPECT_FALSE(list.Checked(0));
  EXPECT_FALSE(list.Checked(1));
  EXPECT_TRUE(list.Checked(2));
  ToggleTick(list, 1);
  EXPECT_EQ(std::vector<bool>({list.Checked(0), list.Checked(1), list.Checked(2)}),
            std::vector<bool>({false, true, false}));
  EXPECT_EQ(TextOf(form->ButtonCancel), "Abbrechen");
  PressOk();
  EXPECT_NE(folder.Read("omb.ini").find("LANGUAGE=English"), std::string::npos);
}

TEST_F(LanguageTest, OkKeepsTheStoredLanguageWhenNoneIsTicked) {
  UseShippedGerman();
  std::filesystem::create_directories(folder.File("Languages\\English"));
  StartQuietly();
  ToggleTick(form->Page3.CheckListBox2, 0);
  ASSERT_FALSE(form->Page3.CheckListBox2.Checked(0));
  ASSERT_FALSE(form->Page3.CheckListBox2.Checked(1));
  PressOk();
  EXPECT_FALSE(WindowOpen());
  EXPECT_NE(folder.Read("omb.ini").find("LANGUAGE=Deutsch"), std::string::npos);
}

}  // namespace
