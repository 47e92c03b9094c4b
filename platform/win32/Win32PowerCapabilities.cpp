#include "platform/win32/Win32PowerCapabilities.h"

#include <windows.h>
// after windows.h
#include <powrprof.h>

#include "platform/win32/SystemFunction.h"

std::optional<bool> Win32PowerCapabilities::CanHibernate() const {
  // powrprof.dll is no DLL every program has loaded: taken from the system
  // folder only, never as an import a copy beside the program could answer.
  auto capabilitiesOf =
      SystemFunction<decltype(&GetPwrCapabilities)>(L"powrprof.dll", "GetPwrCapabilities");
  SYSTEM_POWER_CAPABILITIES capabilities{};
  if (!capabilitiesOf || !capabilitiesOf(&capabilities)) return std::nullopt;
  // SystemS4: the hardware and drivers support hibernation. HiberFilePresent:
  // it is turned on ("powercfg /hibernate off" removes the file).
  return capabilities.SystemS4 && capabilities.HiberFilePresent;
}
