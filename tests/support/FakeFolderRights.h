#pragma once
// Folder rights given by the test: one access list for every folder, or none
// (rights that cannot be read). Records the folders asked about.
#include <optional>
#include <string>
#include <vector>

#include "platform/FolderRights.h"

class FakeFolderRights : public IFolderRights {
 public:
  std::optional<std::vector<AccessEntry>> list = std::vector<AccessEntry>{};
  mutable std::vector<std::string> asked;

  std::optional<std::vector<AccessEntry>> AccessList(const std::string& folder) const override {
    asked.push_back(folder);
    return list;
  }
};
