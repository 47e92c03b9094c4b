#include "platform/win32/Win32PowerCapabilities.h"

#include <windows.h>
// after windows.h
#include <powrprof.h>

#include <cstddef>

#include "platform/win32/SystemFunction.h"

namespace {

// The hibernation file's type, in the byte newer SDKs name HiberFileType and
// older headers (this one) count as the first of spare3.
static_assert(offsetof(SYSTEM_POWER_CAPABILITIES, spare3) == 0x16);
constexpr BYTE kReducedHiberFile = 1;  // HIBERFILE_TYPE_REDUCED

}  // namespace

std::optional<Hibernation> Win32PowerCapabilities::HibernationState() const {
  // powrprof.dll is no DLL every program has loaded: taken from the system
  // folder only, never as an import a copy beside the program could answer.
  auto capabilitiesOf =
      SystemFunction<decltype(&GetPwrCapabilities)>(L"powrprof.dll", "GetPwrCapabilities");
  SYSTEM_POWER_CAPABILITIES capabilities{};
  if (!capabilitiesOf || !capabilitiesOf(&capabilities)) return std::nullopt;
  // HiberFilePresent: hibernation is turned on ("powercfg /hibernate off"
  // removes the file). A reduced file ("powercfg /hibernate /type reduced")
  // is present too but only serves fast start-up, and SystemS4 is then off.
  if (!capabilities.HiberFilePresent) return Hibernation::kOff;
  if (capabilities.spare3[0] == kReducedHiberFile) return Hibernation::kReducedFile;
  if (!capabilities.SystemS4) return Hibernation::kUnsupported;
  return Hibernation::kAvailable;
}
