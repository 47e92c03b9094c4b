// Every caption of every window fits the room its control gives it, in every
// shipped language (each folder of Languages/) and with the built-in texts,
// at 100, 125, 150 and 200 % display scaling: each text measured in the
// control's own font at that scale. Nothing of a window may stand outside the
// window that holds it (it would be cut off), and no label that fits its text
// may run into a control beside it.
#include <algorithm>
#include <filesystem>
#include <sstream>

#include "MainWindowFixture.h"
#include "support/ProgramWindows.h"
#include "ui/Dpi.h"
#include "ui/Gdi.h"
#include "ui/PushButton.h"
#include "ui/ReportList.h"

namespace {

namespace fs = std::filesystem;

// What does not fit, one line each.
class Findings {
 public:
  explicit Findings(std::string where) : where_(std::move(where)) {}

  // The text in the window's font, with extra pixels of the control's own
  // (a tick box, a drop-down arrow, margins), against the room it has.
  void Fit(HWND hwnd, const std::string& text, int extra, int room) {
    if (text.empty()) return;
    auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    const int needed = ui::CaptionSize(text, font).cx + extra;
    if (needed > room) Add(hwnd, '"', text, "\" needs ", needed, " px of ", room);
  }
  template <typename... Parts>
  void Add(HWND hwnd, const Parts&... parts) {
    wchar_t name[64] = L"";
    GetClassNameW(hwnd, name, 64);
    std::ostringstream line;
    line << where_ << ": " << WideToAnsi(name) << " ";
    (line << ... << parts);
    lines_.push_back(line.str());
  }
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::string where_;
  std::vector<std::string> lines_;
};

int ClientWidth(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  return client.right;
}

// The rooms the controls give their texts, as they draw them.
void CheckCaptions(HWND window, Findings& findings) {
  const int dpi = ui::DpiOf(window);
  auto scale = [dpi](int value) { return ui::Scale(value, dpi); };
  for (HWND hwnd : ProgramWindows(window)) {
    ui::Control* control = ui::Control::FromHandle(hwnd);
    const int width = ClientWidth(hwnd);
    if (auto* box = dynamic_cast<ui::CheckBox*>(control)) {
      findings.Fit(hwnd, box->Text(), ui::SystemMetricAt(SM_CXMENUCHECK, dpi) + scale(4), width);
    } else if (auto* group = dynamic_cast<ui::Group*>(control)) {
      findings.Fit(hwnd, group->Text(), scale(16), width);  // 8 pixels in from either side
    } else if (dynamic_cast<ui::MarkerButton*>(control)) {
      // Only its colour is drawn; its text is the name a screen reader reads.
    } else if (auto* button = dynamic_cast<ui::DrawnButton*>(control)) {
      const SIZE glyph = button->GlyphSize();
      const int inside = width - scale(4);  // within the raised edge
      if (button->GlyphPlace() == ui::GlyphLayout::Left)
        findings.Fit(hwnd, button->Text(), glyph.cx ? glyph.cx + scale(4) : 0, inside);
      else
        findings.Fit(hwnd, button->Text(), 0, inside);
    } else if (auto* push = dynamic_cast<ui::PushButton*>(control)) {
      findings.Fit(hwnd, push->Text(), scale(8), width);
    } else if (auto* combo = dynamic_cast<ui::ComboBox*>(control)) {
      for (int row = 0; row < combo->Count(); ++row)
        findings.Fit(hwnd, combo->RowText(row), ui::SystemMetricAt(SM_CXVSCROLL, dpi) + scale(6), width);
    } else if (auto* list = dynamic_cast<ui::TickList*>(control)) {
      // The text stands in the label part of the row, after the tick box.
      for (int row = 0; row < list->Count(); ++row) {
        RECT text{};
        text.left = LVIR_LABEL;
        SendMessageW(hwnd, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&text));
        findings.Fit(hwnd, list->RowText(row), 0, std::min<int>(text.right, width) - text.left);
      }
    } else if (auto* report = dynamic_cast<ui::ReportList*>(control)) {
      for (int column = 0; column < 4; ++column) {
        const int columnWidth = static_cast<int>(SendMessageW(hwnd, LVM_GETCOLUMNWIDTH, column, 0));
        findings.Fit(hwnd, report->ColumnCaption(column), scale(12), columnWidth);
        for (int row = 0; row < report->RowCount(); ++row)
          findings.Fit(hwnd, report->Cell(row, column), scale(12), columnWidth);
      }
    } else if (auto* label = dynamic_cast<ui::Label*>(control); label && label->Layout().width > 0) {
      findings.Fit(hwnd, label->Text(), 0, width);
    }

    // Inside the window that holds it, or cut off. (The top-level window's
    // own size is the layout test's: a display smaller than the window at
    // that scale makes Windows shrink it.)
    RECT place = PlaceOf(hwnd), parent{}, inside{};
    GetClientRect(GetParent(hwnd), &parent);
    const bool topLevelPart = GetParent(hwnd) == window;
    if (!topLevelPart && (!IntersectRect(&inside, &place, &parent) || !EqualRect(&inside, &place)))
      findings.Add(hwnd, '"', ui::WindowText(hwnd), "\" stands outside its window");

    // The text of a label sized to it runs into no control beside it, and
    // stays within the frame of a group it stands in. (The label is two
    // pixels wider than its text, for a last letter reaching past its advance.)
    auto* label = dynamic_cast<ui::Label*>(control);
    if (!label || label->Layout().width > 0) continue;
    place.right -= 2;
    for (HWND other : ProgramWindows(GetParent(hwnd))) {
      if (other == hwnd || GetParent(other) != GetParent(hwnd)) continue;
      RECT there = PlaceOf(other), common{};
      if (!IntersectRect(&common, &place, &there)) continue;
      const bool inGroup = dynamic_cast<ui::Group*>(ui::Control::FromHandle(other)) &&
                           place.left >= there.left && place.top >= there.top;
      if (inGroup && place.right <= there.right - scale(2)) continue;
      findings.Add(hwnd, '"', label->Text(), "\" runs into ", inGroup ? "the frame of \"" : "\"",
                   ui::WindowText(other), '"');
    }
  }
}

class CaptionFitTest : public MainWindowTest {
 protected:
  void SetUp() override {
    fs::create_directories(folder.File("skin\\setup"));
    fs::copy(fs::path(OMBREL_SKIN_DIR) / "setup", folder.File("skin\\setup"), fs::copy_options::recursive);
    // One event of each kind, so that the overview window shows their names.
    folder.Write(
        "SCHEDULE.TXT",
        "2024/05/17,SHUTDOWN,22:00,1\r\n2024/05/17,STARTUP,07:00,0\r\n2024/05/18,TESTUPS,12:00,0\r\n");
  }

  void UseLanguage(const fs::path& shipped) {
    const std::string name = shipped.filename().string();
    fs::create_directories(folder.File("Languages\\" + name));
    fs::copy_file(shipped / "setup.ini", folder.File("Languages\\" + name + "\\setup.ini"));
    WriteSettings("[PAGE3]\r\nLANGUAGE=" + name + "\r\n");
  }

  // As Windows does when the window is dragged onto a monitor of that scale.
  static void MoveToDpi(HWND window, int dpi) {
    RECT outer;
    GetWindowRect(window, &outer);
    const int now = ui::DpiOf(window);
    RECT suggested{outer.left, outer.top, outer.left + MulDiv(outer.right - outer.left, dpi, now),
                   outer.top + MulDiv(outer.bottom - outer.top, dpi, now)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  }

  // Both windows at each scale, the overview filled as View All fills it.
  // Started at 96 DPI, the windows are moved through every scale; started
  // at another (a prefix of that scale), they are checked as the system
  // made them there.
  std::vector<std::string> Check(const std::string& language) {
    std::vector<std::string> lines;
    viewAll->FormShow(*form->Schedule(), *form->Settings(), *form->Language(), module->AString1);
    std::vector<int> scales = {96, 120, 144, 192};
    if (form->Dpi() != 96) scales = {form->Dpi()};
    for (int dpi : scales) {
      if (dpi != form->Dpi()) {
        MoveToDpi(form->Handle(), dpi);
        MoveToDpi(viewAll->Handle(), dpi);
        Pump();
      }
      Findings findings(language + " at " + std::to_string(dpi) + " DPI");
      CheckCaptions(form->Handle(), findings);
      CheckCaptions(viewAll->Handle(), findings);
      // The schedule page's title, painted by its panel.
      findings.Fit(form->Page2.Panel3.Handle(), form->Page2.Panel3.Caption(), ui::Scale(4, dpi),
                   ClientWidth(form->Page2.Panel3.Handle()));
      lines.insert(lines.end(), findings.Lines().begin(), findings.Lines().end());
    }
    return lines;
  }
};

std::string Joined(const std::vector<std::string>& lines) {
  std::ostringstream text;
  for (const std::string& line : lines) text << line << "\n";
  return text.str();
}

TEST_F(CaptionFitTest, BuiltInCaptionsFitAtEveryScale) {
  StartQuietly();
  const auto lines = Check("built-in texts");
  EXPECT_TRUE(lines.empty()) << Joined(lines);
}

TEST_F(CaptionFitTest, EveryShippedLanguageFitsAtEveryScale) {
  std::vector<fs::path> languages;
  for (const auto& entry : fs::directory_iterator(OMBREL_LANGUAGES_DIR))
    if (entry.is_directory()) languages.push_back(entry.path());
  ASSERT_GE(languages.size(), 2u);
  for (const fs::path& language : languages) {
    TearDown();
    folder.Write("omb.ini", "");
    UseLanguage(language);
    StartQuietly();
    const auto lines = Check(language.filename().string());
    EXPECT_TRUE(lines.empty()) << Joined(lines);
  }
}

}  // namespace
