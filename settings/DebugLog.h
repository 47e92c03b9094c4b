#pragma once
// The debug trace: one dated line per call, appended to DEBUG_FILE when
// DEBUG_LOG is on.
#include <string>

#include "platform/Clock.h"
#include "settings/TINI.h"

// Throws AppError with the system's cause ("File access denied") when the
// file cannot be written; then no line is written.
void WriteDebugLine(const TINI& settings, const std::string& message, const std::string& functionName,
                    const IClock& clock = SystemClock());
