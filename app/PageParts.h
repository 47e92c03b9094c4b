#pragma once
// What the pages of the main window share: their fonts, common sizes, and
// setting a language's texts on controls.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/ComboBox.h"
#include "ui/Control.h"
#include "ui/Label.h"
#include "ui/TabPages.h"
#include "ui/TickList.h"

// The fonts of the window, by what they are for.
struct PageFonts {
  HFONT window;    // every control's
  HFONT bold;      // the low-battery note and the schedule page's title
  HFONT browse;    // the "..." buttons, the same in every language
  HFONT calendar;  // the calendar's own
};

inline constexpr int kCheckHeight = 17;
inline constexpr int kEditHeight = 21;
inline constexpr int kDroppedHeight = 200;  // a combo box's height with its list down

// The rows of a list of numbers; "07" for 7 when twoDigits.
std::vector<std::string> NumberRows(const std::vector<int>& numbers, bool twoDigits);

// A language's texts are set only where they differ from what the control
// shows: each change is a call into the window system and a repaint.
void SetIfOther(ui::Control& control, const std::string& text);
// A label that fits its text is fitted again only when the text changes: true then.
bool SetIfOther(ui::Label& label, const std::string& text);
void SetIfOther(ui::TabPages& pages, int index, const std::string& caption);
void SetIfOther(ui::ComboBox& list, const std::vector<std::string>& rows);
// The texts of a list's rows replaced in place, keeping their number and order.
void SetRowTexts(ui::TickList& list, const std::vector<std::string>& texts);
