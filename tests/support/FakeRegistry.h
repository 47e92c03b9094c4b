#pragma once
// A registry in memory that can be told to refuse a value name.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <variant>

#include "platform/Registry.h"
#include "util/AppError.h"

// A key of the 64-bit view is kept under its path with this added; the
// 32-bit view, where the program keeps its values, under its path alone.
inline constexpr char kView64[] = " (64-bit view)";

class FakeRegistry : public IRegistry {
 public:
  using Value = std::variant<std::string, uint32_t>;
  using Name = std::pair<std::string, std::string>;  // key, value name

  std::map<Name, Value> values;  // the 64-bit view's under In64BitView(key)
  std::set<std::string> refused;  // value names whose writing, and deleting when there, fails
  int deletions = 0;

  // The name a key of the 64-bit view is kept under.
  static std::string In64BitView(const std::string& key) { return key + kView64; }
  static std::string Viewed(const std::string& key, RegistryView view) {
    return view == RegistryView::k64Bit ? In64BitView(key) : key;
  }

  void SetString(const std::string& key, const std::string& name, const std::string& value,
                 RegistryView view = RegistryView::k32Bit) override {
    Refuse(name);
    values[{Viewed(key, view), name}] = value;
  }
  void SetNumber(const std::string& key, const std::string& name, uint32_t value) override {
    Refuse(name);
    values[{key, name}] = value;
  }
  void DeleteValue(const std::string& key, const std::string& name, RegistryView view = RegistryView::k32Bit) override {
    ++deletions;
    if (refused.count(name) && Has(Viewed(key, view), name))
      throw AppError(FormatMessageText("Failed to delete data for '%s'", name));
    values.erase({Viewed(key, view), name});
  }
  std::optional<std::string> ReadString(const std::string& key, const std::string& name, RegistryView view) override {
    const auto found = values.find({Viewed(key, view), name});
    if (found == values.end()) return std::nullopt;
    const std::string* text = std::get_if<std::string>(&found->second);
    return text ? *text : std::string();
  }

  bool Has(const std::string& key, const std::string& name) const { return values.count({key, name}) > 0; }
  std::string String(const std::string& key, const std::string& name) const {
    auto found = values.find({key, name});
    return found == values.end() ? "" : std::get<std::string>(found->second);
  }
  uint32_t Number(const std::string& key, const std::string& name) const {
    auto found = values.find({key, name});
    return found == values.end() ? 0 : std::get<uint32_t>(found->second);
  }

 private:
  void Refuse(const std::string& name) const {
    if (refused.count(name)) throw AppError(FormatMessageText("Failed to set data for '%s'", name));
  }
};
