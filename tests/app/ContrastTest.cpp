// Every text of the three pages and of the overview window read from the
// screen, in the system's usual colours and in Windows' two high-contrast
// schemes: the text of a field (text field, drop-down list, list row, table
// cell) stands at 4.5:1 or more against its background, a caption (label,
// check box, group, button, tab, heading) at 3:1 or more. A text's pixels are
// those that change when the text is taken away; its background is the
// colour most of the pixels around it show, its colour the one most of its
// own pixels show.
#include <functional>
#include <iostream>
#include <map>
#include <sstream>

#include "MainWindowFixture.h"
#include "support/ProgramWindows.h"
#include "support/SystemColoursOf.h"
#include "ui/PushButton.h"
#include "ui/ReportList.h"
#include "ui/SystemColours.h"

namespace {

struct Scheme {
  const char* name;
  std::vector<std::pair<int, COLORREF>> colours;  // none: the system's as they are
};

// The colours Windows' "High Contrast Black" and "High Contrast White" themes
// give the elements the controls are drawn with.
const Scheme kNormal{"normal colours", {}};
const Scheme kHighContrastBlack{"High Contrast Black",
                                {{COLOR_WINDOW, RGB(0, 0, 0)},
                                 {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
                                 {COLOR_BTNFACE, RGB(0, 0, 0)},
                                 {COLOR_BTNTEXT, RGB(255, 255, 255)},
                                 {COLOR_GRAYTEXT, RGB(63, 242, 63)},
                                 {COLOR_HIGHLIGHT, RGB(26, 235, 255)},
                                 {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
                                 {COLOR_HOTLIGHT, RGB(255, 255, 0)},
                                 {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)},
                                 {COLOR_3DLIGHT, RGB(255, 255, 255)},
                                 {COLOR_BTNSHADOW, RGB(128, 128, 128)},
                                 {COLOR_3DDKSHADOW, RGB(255, 255, 255)},
                                 {COLOR_WINDOWFRAME, RGB(255, 255, 255)},
                                 {COLOR_INFOBK, RGB(0, 0, 0)},
                                 {COLOR_INFOTEXT, RGB(255, 255, 255)}}};
const Scheme kHighContrastWhite{"High Contrast White",
                                {{COLOR_WINDOW, RGB(255, 255, 255)},
                                 {COLOR_WINDOWTEXT, RGB(0, 0, 0)},
                                 {COLOR_BTNFACE, RGB(255, 255, 255)},
                                 {COLOR_BTNTEXT, RGB(0, 0, 0)},
                                 {COLOR_GRAYTEXT, RGB(96, 0, 0)},
                                 {COLOR_HIGHLIGHT, RGB(55, 0, 110)},
                                 {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)},
                                 {COLOR_HOTLIGHT, RGB(0, 0, 159)},
                                 {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)},
                                 {COLOR_3DLIGHT, RGB(255, 255, 255)},
                                 {COLOR_BTNSHADOW, RGB(128, 128, 128)},
                                 {COLOR_3DDKSHADOW, RGB(0, 0, 0)},
                                 {COLOR_WINDOWFRAME, RGB(0, 0, 0)},
                                 {COLOR_INFOBK, RGB(255, 255, 255)},
                                 {COLOR_INFOTEXT, RGB(0, 0, 0)}}};

// A window's client area as the screen shows it, painted anew: a control
// that draws at once on a change of its text, outside a paint, reaches the
// screen only at the next one.
class ScreenShot {
 public:
  explicit ScreenShot(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Wine hands what a window painted to the display when the thread next
    // looks for messages, at most every 50 ms.
    Sleep(50);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    GetClientRect(hwnd, &client_);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client_.right, client_.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client_.right, client_.bottom, screen, origin.x, origin.y, SRCCOPY);
    SelectObject(memory, old);
    // Top-down rows of blue, green, red and a spare byte.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = client_.right;
    info.bmiHeader.biHeight = -client_.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> rows(static_cast<size_t>(client_.right) * client_.bottom);
    GetDIBits(memory, bitmap, 0, client_.bottom, rows.data(), &info, DIB_RGB_COLORS);
    for (const RGBQUAD& pixel : rows) pixels_.push_back(RGB(pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue));
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
  }
  int Width() const { return client_.right; }
  int Height() const { return client_.bottom; }
  COLORREF At(int x, int y) const { return pixels_[static_cast<size_t>(y) * client_.right + x]; }

 private:
  RECT client_{};
  std::vector<COLORREF> pixels_;
};

// The disabled texts take the system's grey text on the button face, which
// Wine's usual colours set 2.2:1 apart (Windows' 5:1).
constexpr double kDisabledContrast = 2.0;

std::string Hex(COLORREF colour) {
  if (colour == CLR_INVALID) return "nothing";
  char text[8];
  snprintf(text, sizeof(text), "#%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
  return text;
}

COLORREF MostCommon(const std::map<COLORREF, int>& counts) {
  COLORREF best = CLR_INVALID;
  int most = 0;
  for (const auto& [colour, count] : counts)
    if (count > most) best = colour, most = count;
  return best;
}

// What a text shows on screen: its colour and its background's.
struct Shown {
  COLORREF text = CLR_INVALID;
  COLORREF background = CLR_INVALID;
  double Ratio() const { return text == CLR_INVALID ? 1.0 : ui::Contrast(text, background); }
};

// A text within area of hwnd's client area: the screen with the text, and
// without it (hide; show brings it back). A text that changes no pixel
// cannot be read: no colour, 1:1.
Shown TextOnScreen(HWND hwnd, RECT area, const std::function<void()>& hide,
                   const std::function<void()>& show) {
  hide();
  const ScreenShot without(hwnd);
  show();
  const ScreenShot with(hwnd);
  RECT client{0, 0, with.Width(), with.Height()};
  IntersectRect(&area, &area, &client);
  RECT box{area.right, area.bottom, area.left, area.top};
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (with.At(x, y) != without.At(x, y)) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  if (IsRectEmpty(&box)) return {};
  std::map<COLORREF, int> around, ink;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) ++around[with.At(x, y)];
  const COLORREF background = MostCommon(around);
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x)
      if (with.At(x, y) != without.At(x, y) && with.At(x, y) != background) ++ink[with.At(x, y)];
  if (ink.empty()) return {CLR_INVALID, background};
  return {MostCommon(ink), background};
}

RECT ClientOf(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  return client;
}

// The texts a window shows, measured; each failure one line.
class Measures {
 public:
  explicit Measures(std::string where) : where_(std::move(where)) {}

  void Field(HWND hwnd, const std::string& text, RECT area, const std::function<void()>& hide,
             const std::function<void()>& show) {
    Check(hwnd, text, kTextContrast, TextOnScreen(hwnd, area, hide, show));
  }
  void Caption(HWND hwnd, const std::string& text, RECT area, const std::function<void()>& hide,
               const std::function<void()>& show) {
    Check(hwnd, text, kCaptionContrast, TextOnScreen(hwnd, area, hide, show));
  }
  // A window text taken away and put back.
  void WindowText(HWND hwnd, bool field) {
    const std::string text = ui::WindowText(hwnd);
    if (text.empty()) return;
    auto hide = [hwnd] { SetWindowTextW(hwnd, L""); };
    auto show = [hwnd, &text] { ui::SetWindowText(hwnd, text); };
    if (field)
      Field(hwnd, text, ClientOf(hwnd), hide, show);
    else
      Caption(hwnd, text, ClientOf(hwnd), hide, show);
  }

  // Every text of the program's controls inside window.
  void Controls(HWND window) {
    for (HWND hwnd : ProgramWindows(window)) {
      if (!IsWindowVisible(hwnd)) continue;
      ui::Control* control = ui::Control::FromHandle(hwnd);
      if (auto* combo = dynamic_cast<ui::ComboBox*>(control)) {
        const int row = combo->ItemIndex();
        if (row < 0) continue;
        Field(
            hwnd, combo->RowText(row), ClientOf(hwnd), [hwnd] { SendMessageW(hwnd, CB_SETCURSEL, -1, 0); },
            [hwnd, row] { SendMessageW(hwnd, CB_SETCURSEL, row, 0); });
      } else if (auto* list = dynamic_cast<ui::TickList*>(control)) {
        for (int row = 0; row < list->Count(); ++row) {
          RECT label{};
          label.left = LVIR_LABEL;
          SendMessageW(hwnd, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&label));
          const std::string text = list->RowText(row);
          Field(
              hwnd, text, label, [list, row] { list->SetRowText(row, ""); },
              [list, row, &text] { list->SetRowText(row, text); });
        }
      } else if (auto* report = dynamic_cast<ui::ReportList*>(control)) {
        Table(*report);
      } else if (auto* pages = dynamic_cast<ui::TabPages*>(control)) {
        for (int index = 0; index < pages->Count(); ++index) {
          RECT tab{};
          SendMessageW(hwnd, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&tab));
          const std::string text = pages->Caption(index);
          Caption(
              hwnd, text, tab, [pages, index] { pages->SetCaption(index, ""); },
              [pages, index, &text] { pages->SetCaption(index, text); });
        }
      } else if (dynamic_cast<ui::TextField*>(control)) {
        WindowText(hwnd, true);
      } else if (dynamic_cast<ui::MarkerButton*>(control)) {
        // Only its colour shows; its text is a screen reader's.
      } else if (dynamic_cast<ui::Label*>(control) || dynamic_cast<ui::CheckBox*>(control) ||
                 dynamic_cast<ui::Group*>(control) || dynamic_cast<ui::DrawnButton*>(control) ||
                 dynamic_cast<ui::PushButton*>(control)) {
        WindowText(hwnd, false);
      }
    }
  }

  // The caption a panel paints (the schedule page's heading).
  void PanelCaption(ui::Panel& panel) {
    const std::string text = panel.Caption();
    if (text.empty()) return;
    auto font = reinterpret_cast<HFONT>(SendMessageW(panel.Handle(), WM_GETFONT, 0, 0));
    const COLORREF own = panel.CaptionColor();
    Caption(
        panel.Handle(), text, ClientOf(panel.Handle()), [&] { panel.SetCaption("", font, own); },
        [&] { panel.SetCaption(text, font, own); });
  }

  int Count() const { return count_; }
  const std::vector<std::string>& Failures() const { return failures_; }

 private:
  // The column headings and every cell of the rows in view.
  void Table(ui::ReportList& report) {
    HWND hwnd = report.Handle();
    HWND header = reinterpret_cast<HWND>(SendMessageW(hwnd, LVM_GETHEADER, 0, 0));
    const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int column = 0; column < columns; ++column) {
      RECT place{};
      SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&place));
      const std::string text = report.ColumnCaption(column);
      auto setHeading = [header, column](const std::string& heading) {
        std::wstring wide = AnsiToWide(heading);
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = wide.data();
        SendMessageW(header, HDM_SETITEMW, column, reinterpret_cast<LPARAM>(&item));
      };
      // Taken from the list, whose painting takes its heading along.
      MapWindowPoints(header, hwnd, reinterpret_cast<POINT*>(&place), 2);
      Caption(
          hwnd, text, place, [&] { setHeading(""); }, [&] { setHeading(text); });
    }
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < report.RowCount(); ++row) {
      rows.emplace_back();
      for (int column = 0; column < columns; ++column) rows.back().push_back(report.Cell(row, column));
    }
    const int shown = std::min<int>(static_cast<int>(rows.size()),
                                    static_cast<int>(SendMessageW(hwnd, LVM_GETCOUNTPERPAGE, 0, 0)));
    for (int row = 0; row < shown; ++row)
      for (int column = 0; column < columns; ++column) {
        if (rows[row][column].empty()) continue;
        RECT cell{};
        cell.top = column;
        cell.left = LVIR_LABEL;
        SendMessageW(hwnd, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
        InflateRect(&cell, -1, -1);  // inside the grid lines
        auto blank = rows;
        blank[row][column] = "";
        Field(
            hwnd, rows[row][column], cell, [&report, blank] { report.SetRows(blank); },
            [&report, &rows] { report.SetRows(rows); });
      }
  }

  // A disabled text need not stand out as much, but must still be seen.
  void Check(HWND hwnd, const std::string& text, double needed, const Shown& shown) {
    ++count_;
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    if (!enabled) needed = kDisabledContrast;
    const double ratio = shown.Ratio();
    if (ratio >= needed) return;
    wchar_t name[64] = L"";
    GetClassNameW(hwnd, name, 64);
    std::ostringstream line;
    line.precision(2);
    line << where_ << ": " << WideToAnsi(name) << " \"" << text << "\" " << std::fixed << ratio
         << ":1, needs " << needed << ":1" << (enabled ? "" : " (disabled)") << ", " << Hex(shown.text)
         << " on " << Hex(shown.background);
    failures_.push_back(line.str());
  }

  std::string where_;
  int count_ = 0;
  std::vector<std::string> failures_;
};

class ContrastTest : public MainWindowTest {
 protected:
  void SetUp() override {
    // An event of each kind, so that the overview's table has rows.
    folder.Write(
        "SCHEDULE.TXT",
        "2024/05/17,SHUTDOWN,22:00,1\r\n2024/05/17,STARTUP,07:00,0\r\n2024/05/18,TESTUPS,12:00,0\r\n");
    StartQuietly();
    form->Show();
    Pump();
  }

  // Each page and the overview window in the scheme: the failures, and how
  // many texts each showed.
  std::vector<std::string> Measure(const Scheme& scheme) {
    SystemColoursOf colours(scheme.colours);
    Pump();
    std::vector<std::string> failures;
    const char* names[] = {"configuration page", "schedule page", "Others page"};
    for (int page = 0; page < 3; ++page) {
      form->PageControl1.SetActive(page);
      // No control shows the selection colours of the focus (Wine's usual
      // ones stand at 3.1:1, the system's choice).
      SetFocus(nullptr);
      Pump();
      Measures measures(std::string(scheme.name) + ", " + names[page]);
      measures.Controls(form->Handle());
      if (page == 1) measures.PanelCaption(form->Page2.Panel3);
      Note(scheme, names[page], measures);
      failures.insert(failures.end(), measures.Failures().begin(), measures.Failures().end());
    }
    viewAll->FormShow(*form->Schedule(), *form->Settings(), *form->Language(), module->AString1);
    // Where View All shows it: over the main window.
    RECT main{};
    GetWindowRect(form->Handle(), &main);
    SetWindowPos(viewAll->Handle(), HWND_TOP, main.left, main.top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Pump();
    Measures measures(std::string(scheme.name) + ", overview window");
    measures.Controls(viewAll->Handle());
    Note(scheme, "overview window", measures);
    failures.insert(failures.end(), measures.Failures().begin(), measures.Failures().end());
    return failures;
  }

  static void Note(const Scheme& scheme, const char* where, const Measures& measures) {
    std::cout << scheme.name << ", " << where << ": " << measures.Count() << " texts measured, "
              << measures.Failures().size() << " under their contrast\n";
    EXPECT_GT(measures.Count(), 10) << where;
  }
};

std::string Joined(const std::vector<std::string>& lines) {
  std::ostringstream text;
  for (const std::string& line : lines) text << line << "\n";
  return text.str();
}

TEST_F(ContrastTest, EveryTextReadsInTheUsualColours) {
  const auto failures = Measure(kNormal);
  EXPECT_TRUE(failures.empty()) << Joined(failures);
}

TEST_F(ContrastTest, EveryTextReadsInHighContrastBlack) {
  const auto failures = Measure(kHighContrastBlack);
  EXPECT_TRUE(failures.empty()) << Joined(failures);
}

TEST_F(ContrastTest, EveryTextReadsInHighContrastWhite) {
  const auto failures = Measure(kHighContrastWhite);
  EXPECT_TRUE(failures.empty()) << Joined(failures);
}

}  // namespace
