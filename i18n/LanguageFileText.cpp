#include "i18n/LanguageFileText.h"

#include <algorithm>

#include "util/Unicode.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

bool HasByteAbove127(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) > 127; });
}

}  // namespace

LanguageFileText DecodeLanguageFile(std::string_view bytes) {
  if (bytes.starts_with(kUtf16LittleEndianMark))
    return {Utf8FromUtf16(bytes.substr(kUtf16LittleEndianMark.size()), false), true};
  if (bytes.starts_with(kUtf16BigEndianMark))
    return {Utf8FromUtf16(bytes.substr(kUtf16BigEndianMark.size()), true), true};
  if (bytes.starts_with(kUtf8Mark)) return {std::string(bytes.substr(kUtf8Mark.size())), true};
  // Plain ASCII reads the same either way; a file in an 8-bit code page is
  // very seldom well-formed UTF-8 once it holds a letter beyond ASCII.
  return {std::string(bytes), HasByteAbove127(bytes) && IsValidUtf8(bytes)};
}
