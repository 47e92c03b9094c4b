#pragma once
// Sets system colours for a scope, as a switch of theme does (the system
// tells every top-level window), and puts the colours before back at its end.
#include <windows.h>

#include <utility>
#include <vector>

class SystemColoursOf {
 public:
  explicit SystemColoursOf(const std::vector<std::pair<int, COLORREF>>& colours) {
    for (const auto& [element, colour] : colours) {
      elements_.push_back(element);
      before_.push_back(GetSysColor(element));
      after_.push_back(colour);
    }
    Set(after_);
  }
  SystemColoursOf(const SystemColoursOf&) = delete;
  SystemColoursOf& operator=(const SystemColoursOf&) = delete;
  ~SystemColoursOf() { Set(before_); }

 private:
  void Set(const std::vector<COLORREF>& colours) {
    if (!elements_.empty())
      SetSysColors(static_cast<int>(elements_.size()), elements_.data(), colours.data());
  }
  std::vector<int> elements_;
  std::vector<COLORREF> before_, after_;
};
