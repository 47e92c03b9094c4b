#pragma once
// The system's colours as the program's windows draw with them. In a
// high-contrast theme every text takes the system's colours; whatever the
// theme, a colour of the program's own gives way to the system's where it
// would not stand out from what it stands on.
#include <windows.h>

#include "util/Contrast.h"

namespace ui {

Rgb ToRgb(COLORREF colour);
double Contrast(COLORREF a, COLORREF b);

// The user runs Windows in a high-contrast theme. Read once and again at
// each change of the system's colours (FollowSystemColours).
bool HighContrastOn();

// The colour for a caption of the program's own colour own standing on the
// system colour background: own, unless high contrast is on or own stands
// under 3:1 against the background; then the system colour text.
COLORREF CaptionColour(COLORREF own, int background, int text);
// A background of the program's own colour under text of the system colour
// text: own, unless high contrast is on or the text would stand under 4.5:1
// on it; then the system colour instead.
COLORREF TextBackground(COLORREF own, int text, int instead);

// A caption on the button face, as labels and check boxes show theirs:
// button text, or grey text when disabled, on the button face. The brush of
// the face is the answer to WM_CTLCOLORSTATIC.
HBRUSH CaptionOnFace(HDC dc, bool enabled, COLORREF text = CLR_INVALID);

// The system's colours or theme changed: the controls of window (a
// top-level window) take the new colours and everything paints again.
void FollowSystemColours(HWND window);
// The messages that tell a top-level window so.
bool IsColourChange(UINT message, WPARAM wParam);

}  // namespace ui
