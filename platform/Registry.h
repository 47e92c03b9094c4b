#pragma once
// Values under HKEY_LOCAL_MACHINE, in the 32-bit view that the 32-bit monitor
// reads unless another view is named. Keys are created when missing; every
// write goes through at once.
#include <cstdint>
#include <optional>
#include <string>

// The two views of HKEY_LOCAL_MACHINE\SOFTWARE a 64-bit Windows keeps apart.
enum class RegistryView { k32Bit, k64Bit };

class IRegistry {
public:
  virtual ~IRegistry() = default;
  // Throw AppError("Failed to set data for '<name>'") when the value cannot be written.
  virtual void SetString(const std::string& key, const std::string& name, const std::string& value,
                         RegistryView view = RegistryView::k32Bit) = 0;
  virtual void SetNumber(const std::string& key, const std::string& name, uint32_t value) = 0;
  // Removes the value; a missing value (or key) passes silently. Throws
  // AppError("Failed to delete data for '<name>'") when the value stays.
  virtual void DeleteValue(const std::string& key, const std::string& name,
                           RegistryView view = RegistryView::k32Bit) = 0;
  // The value as text (any kind of value counts as there); none when it or
  // its key is missing. Throws AppError("Failed to read data for '<name>'")
  // when the system cannot tell.
  virtual std::optional<std::string> ReadString(const std::string& key, const std::string& name,
                                                RegistryView view) = 0;
};
