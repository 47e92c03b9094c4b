#pragma once
// A shell that records what it was asked to open and gives chosen short paths.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Shell.h"

class FakeShell : public IShell {
 public:
  std::vector<std::string> opened;
  std::map<std::string, std::string> shortPaths;  // path -> its short form; others stay as they are
  std::set<std::string> unopenable;               // names the shell reports it could not open

  bool Open(const std::string& file) override {
    opened.push_back(file);
    return !unopenable.contains(file);
  }
  std::string ShortPath(const std::string& path) override {
    auto found = shortPaths.find(path);
    return found == shortPaths.end() ? path : found->second;
  }
};
