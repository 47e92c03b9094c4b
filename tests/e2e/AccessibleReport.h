#pragma once
// What a screen reader reads of a window through MSAA, for the window tool.
#include <windows.h>

// Prints the window's client object: "role=... name=... children=N
// states=...", then its selected child and the child with the focus
// ("selected=ID name=... states=...", "focus=ID"), and, when child is not
// 0, that child ("child=ID name=... states=... location=X,Y,W,H" on the
// screen). Returns 0 when the object could be read.
int AccessibleReport(HWND window, long child);
