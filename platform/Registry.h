#pragma once
// Values under HKEY_LOCAL_MACHINE, in the 32-bit view that the 32-bit monitor
// reads. Keys are created when missing; every write goes through at once.
#include <cstdint>
#include <string>

class IRegistry {
public:
  virtual ~IRegistry() = default;
  // Throw AppError("Failed to set data for '<name>'") when the value cannot be written.
  virtual void SetString(const std::string& key, const std::string& name, const std::string& value) = 0;
  virtual void SetNumber(const std::string& key, const std::string& name, uint32_t value) = 0;
  // Removes the value; a missing value (or key) passes silently. Throws
  // AppError("Failed to delete data for '<name>'") when the value stays.
  virtual void DeleteValue(const std::string& key, const std::string& name) = 0;
};
