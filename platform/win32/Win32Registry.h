#pragma once
// Values under HKEY_LOCAL_MACHINE in the 32-bit view (KEY_WOW64_32KEY), where
// the 32-bit monitor reads them, or in the 64-bit view when it is named. Keys
// are created when missing and every write is flushed at once.
#include <cstdint>
#include <string>

#include "platform/Registry.h"

class Win32Registry : public IRegistry {
 public:
  void SetString(const std::string& key, const std::string& name, const std::string& value,
                 RegistryView view = RegistryView::k32Bit) override;
  void SetNumber(const std::string& key, const std::string& name, uint32_t value) override;
  void DeleteValue(const std::string& key, const std::string& name, RegistryView view = RegistryView::k32Bit) override;
  std::optional<std::string> ReadString(const std::string& key, const std::string& name, RegistryView view) override;
};
