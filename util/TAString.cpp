#include "util/TAString.h"

void TAString::CutText(const std::string& text, int count, bool fromStart, std::string& result) const {
  const size_t cut = count > 0 ? static_cast<size_t>(count) : 0;
  if (cut >= text.size()) {
    result.clear();
  } else if (fromStart) {
    result = text.substr(cut);
  } else {
    result = text.substr(0, text.size() - cut);
  }
}

bool TAString::Split_String(std::string text, char separator, std::string& before, std::string& after) const {
  const size_t at = text.find(separator);
  if (at == std::string::npos) return false;  // also covers the empty text
  const int length = static_cast<int>(text.size());
  const int position = static_cast<int>(at) + 1;
  // text is our own copy, so writing before or after cannot disturb it.
  CutText(text, length - position + 1, false, before);
  CutText(text, position, true, after);
  return true;
}

bool TAString::Replace_String(std::string& text, const std::string& oldText,
                              const std::string& newText) const {
  if (oldText.empty()) return false;
  const size_t at = text.find(oldText);
  if (at == std::string::npos) return false;
  text.replace(at, oldText.size(), newText);
  return true;
}
