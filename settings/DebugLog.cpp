#include "settings/DebugLog.h"

#include <cstdio>

#include "platform/FileSystem.h"
#include "util/AppError.h"

namespace {

// "dd/mm/yyyy , hh:nn:ss , " with the system's date and time separators.
std::string Stamp(const IClock& clock) {
  LocalDateTime now = clock.Now();
  char date = clock.DateSeparator();
  char time = clock.TimeSeparator();
  char text[64];
  std::snprintf(text, sizeof text, "%02d%c%02d%c%04d , %02d%c%02d%c%02d , ", now.Day, date, now.Month, date,
                now.Year, now.Hour, time, now.Minute, time, now.Second);
  return text;
}

}  // namespace

void WriteDebugLine(const TINI& settings, const std::string& message, const std::string& functionName,
                    const IClock& clock) {
  if (!settings.DEBUG_LOG) return;
  std::string line = Stamp(clock) + message + " ,  Function name : " + functionName + "\r\n";
  try {
    fs_seam::AppendToFile(settings.DEBUG_FILE, line);
  } catch (const fs_seam::FileError& error) {
    throw AppError(error.what());
  }
}
