#pragma once
// Small text operations on byte strings; positions count from 1.
#include <string>

class TAString {
public:
  // The text without its first (fromStart) or last count characters.
  void CutText(const std::string& text, int count, bool fromStart, std::string& result) const;
  // Splits at the first separator. False, and both outputs untouched, when the
  // text is empty or holds no separator. The text is taken by value, so an
  // output may be the very variable that holds it.
  bool Split_String(std::string text, char separator, std::string& before, std::string& after) const;
  // Replaces the first occurrence of oldText; false when there is none.
  bool Replace_String(std::string& text, const std::string& oldText, const std::string& newText) const;
};
