// The main window at the display's scale: the 96-DPI layout times dpi / 96,
// no control running into another, the mouse reaching what it shows, the
// skin drawn from its larger renderings, and all of it again when the window
// moves to a monitor of another scale. Run at 96 DPI with the other tests and
// at 144 and 192 in prefixes of their own (scripts/at-dpi).
#include <cmath>
#include <filesystem>
#include <set>
#include <sstream>

#include "MainWindowFixture.h"
#include "support/BitmapFile.h"
#include "support/ProgramWindows.h"

namespace {

int Scaled(int value, int dpi) {
  return static_cast<int>(std::lround(value * dpi / 96.0));
}

std::string Describe(HWND hwnd) {
  wchar_t name[64] = L"";
  GetClassNameW(hwnd, name, 64);
  RECT r = PlaceOf(hwnd);
  std::ostringstream text;
  text << WideToAnsi(name) << " \"" << ui::WindowText(hwnd) << "\" at " << r.left << "," << r.top << " "
       << r.right - r.left << "x" << r.bottom - r.top;
  return text.str();
}

using Pairs = std::set<std::pair<HWND, HWND>>;

// Siblings whose rectangles share a pixel.
Pairs Overlapping(HWND window) {
  std::vector<HWND> all = ProgramWindows(window);
  Pairs pairs;
  for (size_t a = 0; a < all.size(); ++a)
    for (size_t b = a + 1; b < all.size(); ++b) {
      if (GetParent(all[a]) != GetParent(all[b])) continue;
      RECT first = PlaceOf(all[a]), second = PlaceOf(all[b]), common;
      if (IntersectRect(&common, &first, &second)) pairs.insert(std::minmax(all[a], all[b]));
    }
  return pairs;
}

class ScaledLayoutTest : public MainWindowTest {
 protected:
  // What Windows sends when the window is dragged onto a monitor of another scale.
  void MoveToDpi(int dpi) {
    RECT outer;
    GetWindowRect(form->Handle(), &outer);
    RECT suggested{outer.left, outer.top, outer.left + Scaled(556, dpi), outer.top + Scaled(468, dpi)};
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    Pump();
  }

  // A left click where the layout puts point on page (index), at the window's
  // scale: the window under the mouse gets it as the system would pass it on.
  HWND ClickPage(int index, POINT point) {
    form->PageControl1.SetActive(index);
    const int dpi = form->Dpi();
    POINT at{Scaled(point.x, dpi), Scaled(point.y, dpi)};
    ClientToScreen(form->PageControl1.Page(index).Handle(), &at);
    HWND hit = WindowFromPoint(at);
    ScreenToClient(hit, &at);
    PostMessageW(hit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(hit, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Pump();
    return hit;
  }
};

TEST_F(ScaledLayoutTest, WindowAndControlsStandWhereTheLayoutSaysTimesTheScale) {
  StartQuietly();
  TFormMain& f = *form;
  const int dpi = f.Dpi();
  RECT outer;
  GetWindowRect(f.Handle(), &outer);
  EXPECT_EQ(outer.right - outer.left, Scaled(556, dpi));
  EXPECT_EQ(outer.bottom - outer.top, Scaled(468, dpi));

  // Left, top, right and bottom of the layout (a bottom of 0: the height is
  // the control's own, a combo box's or a label's).
  struct Place {
    HWND window;
    RECT layout;
  };
  const Place places[] = {
      {f.Panel1.Handle(), {0, 0, 549, 65}},
      {f.PageControl1.Handle(), {0, 64, 549, 405}},
      {f.Panel2.Handle(), {0, 405, 549, 442}},
      {f.ButtonOK.Handle(), {92, 6, 173, 31}},
      {f.ButtonCancel.Handle(), {372, 6, 453, 31}},
      {f.Page1.ComboBox1.Handle(), {136, 8, 201, 0}},
      {f.Page1.CheckBox4.Handle(), {8, 48, 265, 65}},
      {f.Page1.ButtonAutoDetect.Handle(), {296, 5, 397, 69}},
      {f.Page1.CheckListBox1.Handle(), {296, 89, 529, 193}},
      {f.Page1.CheckListBox4.Handle(), {316, 153, 525, 189}},
      {f.Page1.GroupBox7.Handle(), {4, 84, 281, 209}},
      {f.Page1.Edit1.Handle(), {148, 104, 185, 125}},
      {f.Page1.CheckBox11.Handle(), {16, 164, 273, 181}},
      {f.Page1.Label8.Handle(), {12, 184, 0, 0}},
      {f.Page1.GroupBox8.Handle(), {296, 196, 525, 309}},
      {f.Page1.ComboBox3.Handle(), {328, 256, 497, 0}},
      {f.Page2.Calendar1.Handle(), {3, 28, 370, 200}},
      {f.Page2.GroupBox14.Handle(), {374, 26, 538, 246}},
      {f.Page2.Panel4.Handle(), {468, 88, 535, 218}},
      {f.Page2.ButtonViewAll.Handle(), {374, 250, 454, 308}},
      {f.Page2.GroupBox3.Handle(), {184, 204, 369, 309}},
      {f.Page2.Label2.Handle(), {108, 213, 183, 226}},
      {f.Page3.GroupBox2.Handle(), {4, 12, 305, 105}},
      {f.Page3.Edit4.Handle(), {60, 68, 265, 89}},
      {f.Page3.CheckListBox2.Handle(), {316, 16, 533, 309}},
  };
  for (const Place& place : places) {
    SCOPED_TRACE(Describe(place.window));
    RECT at = PlaceOf(place.window);
    EXPECT_EQ(at.left, Scaled(place.layout.left, dpi));
    EXPECT_EQ(at.top, Scaled(place.layout.top, dpi));
    if (place.layout.right) {
      EXPECT_EQ(at.right, Scaled(place.layout.right, dpi));
    }
    if (place.layout.bottom) {
      EXPECT_EQ(at.bottom, Scaled(place.layout.bottom, dpi));
    }
  }
  // Every page fills the tab control's display area, whatever the tab strip's height.
  RECT area;
  GetClientRect(f.PageControl1.Handle(), &area);
  SendMessageW(f.PageControl1.Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  RECT page = PlaceOf(f.PageControl1.Page(1).Handle());
  EXPECT_TRUE(EqualRect(&page, &area));
  // The fonts are made for the scale: 8 points are 8 / 72 of an inch.
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(f.Page1.CheckBox4.Handle(), WM_GETFONT, 0, 0)), sizeof(font),
             &font);
  EXPECT_EQ(font.lfHeight, -MulDiv(8, dpi, 72));
}

TEST_F(ScaledLayoutTest, NoTwoControlsOverlapThatStandApartAt96Dpi) {
  StartQuietly();
  const int start = form->Dpi();
  const Pairs atStart = Overlapping(form->Handle());
  MoveToDpi(96);
  const Pairs at96 = Overlapping(form->Handle());
  for (const auto& [a, b] : atStart)
    EXPECT_TRUE(at96.count({a, b})) << "at " << start << " DPI " << Describe(a) << " overlaps "
                                    << Describe(b);
  for (int dpi : {120, 144, 192}) {
    MoveToDpi(dpi);
    for (const auto& [a, b] : Overlapping(form->Handle()))
      EXPECT_TRUE(at96.count({a, b}))
          << "at " << dpi << " DPI " << Describe(a) << " overlaps " << Describe(b);
  }
}

TEST_F(ScaledLayoutTest, ClicksAtScaledPlacesReachTheControlsThere) {
  StartQuietly();
  form->Show();
  TFormMain& f = *form;
  ASSERT_FALSE(Ticked(f.Page1.CheckBox4));
  EXPECT_EQ(ClickPage(0, {8 + 6, 48 + 8}), f.Page1.CheckBox4.Handle());
  EXPECT_TRUE(Ticked(f.Page1.CheckBox4));
  // "Power fail for ", inside its group.
  EXPECT_EQ(ClickPage(0, {4 + 12 + 6, 84 + 58 + 8}), f.Page1.CheckBox9.Handle());
  EXPECT_TRUE(Ticked(f.Page1.CheckBox9));

  // May 2024 begins on a Wednesday: the 20th is the Monday of the fourth
  // week, column 1, week row 3; the middle of its cell, on the page.
  EXPECT_EQ(ClickPage(1, {3 + 2 + 52 * 1 + 26, 28 + 2 + 24 * 4 + 12}), f.Page2.Calendar1.Handle());
  EXPECT_EQ(f.Page2.Calendar1.Day(), 20);
}

TEST_F(ScaledLayoutTest, DayMarkersStandInTheCornerOfTheirCellsAtEveryScale) {
  StartQuietly();
  TFormMain& f = *form;
  for (int dpi : {0, 96, 120, 144, 192}) {
    if (dpi) MoveToDpi(dpi);
    SCOPED_TRACE("at " + std::to_string(f.Dpi()) + " DPI");
    const int offsets[] = {0, 8, 16};
    for (int cell : {1, 7, 23, 37}) {
      // The markers stand inside the calendar: both in its coordinates.
      const RECT grid = f.Page2.Calendar1.CellRect((cell - 1) % 7, (cell - 1) / 7 + 1);
      for (int set = 0; set < 3; ++set) {
        const RECT marker = f.Page2.Calendar1.MarkRect(set, cell);
        EXPECT_GE(marker.left, grid.left) << "cell " << cell;
        EXPECT_LE(marker.left, grid.left + Scaled(3, f.Dpi())) << "cell " << cell;
        EXPECT_NEAR(marker.top - grid.top, Scaled(offsets[set], f.Dpi()), 1) << "cell " << cell;
        EXPECT_NEAR(marker.right - marker.left, Scaled(15, f.Dpi()), 1);
        EXPECT_NEAR(marker.bottom - marker.top, Scaled(8, f.Dpi()), 1);
      }
    }
  }
}

TEST_F(ScaledLayoutTest, SkinIsDrawnFromTheNearestLargerRendering) {
  const COLORREF blue = RGB(0, 0, 200), green = RGB(0, 160, 0), red = RGB(200, 0, 0);
  std::filesystem::create_directories(folder.File("skin\\setup\\150"));
  std::filesystem::create_directories(folder.File("skin\\setup\\200"));
  folder.Write("skin\\setup\\SAVE_BUTTON.bmp", FilledBitmap(16, 16, blue));
  folder.Write("skin\\setup\\150\\SAVE_BUTTON.bmp", FilledBitmap(24, 24, green));
  folder.Write("skin\\setup\\200\\SAVE_BUTTON.bmp", FilledBitmap(32, 32, red));
  Start();
  // Only the eight files of the skin are missed, not the larger renderings.
  EXPECT_EQ(dialogs.shown.size(), 8u);  // the language file and seven pictures
  auto expected = [](int dpi) {
    return dpi == 96 ? RGB(0, 0, 200) : dpi <= 144 ? RGB(0, 160, 0) : RGB(200, 0, 0);
  };
  for (int dpi : {0, 96, 120, 144, 192}) {
    if (dpi) MoveToDpi(dpi);
    const int now = form->Dpi();
    SCOPED_TRACE("at " + std::to_string(now) + " DPI");
    // The glyph's key is its bottom-left pixel: the colour of the rendering used.
    EXPECT_EQ(form->ButtonOK.GlyphKey(), expected(now));
  }
}

}  // namespace
