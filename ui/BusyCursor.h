#pragma once
// The application-wide hourglass: while it is on, every window of the program
// shows the wait cursor, whichever control the mouse is over. Windows of this
// library answer WM_SETCURSOR from it; controls pass that question up to them.
namespace ui {

void ShowBusyCursor(bool on);
bool BusyCursorShown();

}  // namespace ui
