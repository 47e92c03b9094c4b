#pragma once
// The folder part of a path, with its trailing separator ("\" or "/");
// empty for a bare name.
#include <string>

inline std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
