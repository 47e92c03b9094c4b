#pragma once
// A registry in memory that can be told to refuse a value name.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <variant>

#include "platform/Registry.h"
#include "util/AppError.h"

class FakeRegistry : public IRegistry {
 public:
  using Value = std::variant<std::string, uint32_t>;
  using Name = std::pair<std::string, std::string>;  // key, value name

  std::map<Name, Value> values;
  std::set<std::string> refused;  // value names whose writing, and deleting when there, fails
  int deletions = 0;

  void SetString(const std::string& key, const std::string& name, const std::string& value) override {
    Refuse(name);
    values[{key, name}] = value;
  }
  void SetNumber(const std::string& key, const std::string& name, uint32_t value) override {
    Refuse(name);
    values[{key, name}] = value;
  }
  void DeleteValue(const std::string& key, const std::string& name) override {
    ++deletions;
    if (refused.count(name) && Has(key, name))
      throw AppError(FormatMessageText("Failed to delete data for '%s'", name));
    values.erase({key, name});
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
