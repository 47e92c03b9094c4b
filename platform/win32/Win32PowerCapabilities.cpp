#include "platform/win32/Win32PowerCapabilities.h"

#include <windows.h>
// after windows.h
#include <powrprof.h>

std::optional<bool> Win32PowerCapabilities::CanHibernate() const {
  SYSTEM_POWER_CAPABILITIES capabilities{};
  if (!GetPwrCapabilities(&capabilities)) return std::nullopt;
  // SystemS4: the hardware and drivers support hibernation. HiberFilePresent:
  // it is turned on ("powercfg /hibernate off" removes the file).
  return capabilities.SystemS4 && capabilities.HiberFilePresent;
}
