// Loads arbitrary bytes as a language file into the text table and checks what
// any file gives: every text at most 2047 characters and one line (no CR, LF
// or NUL), a text whose key the file never names keeps its English default
// (less blanks at its end), and the font size is the integer the file spells,
// or 8. A file may be in UTF-8 or UTF-16, read as the table reads it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/support/Check.h"
#include "fuzz/support/MemoryFiles.h"
#include "i18n/LanguageFileText.h"
#include "i18n/TINI_LANGUAGE.h"
#include "settings/IniFile.h"

namespace {

constexpr const char* kLanguagePath = "C:\\Ombrel\\Languages\\Fuzz\\setup.ini";
constexpr int32_t kDefaultFontSize = 8;

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string_view WithoutEndBlanks(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// 1 to 9 decimal digits: an integer whatever the rest of the rule says.
bool IsPlainNumber(const std::string& text) {
  return !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  memory_files::Clear();
  memory_files::Put(kLanguagePath, bytes);
  TINI_LANGUAGE table;
  table.Path = kLanguagePath;
  table.Load();

  // The file as the table reads it: UTF-16 turned into UTF-8, without a mark.
  const std::string decoded = DecodeLanguageFile(bytes).Text;
  // Keys are matched without regard to case: one that is nowhere in the file is missing.
  const std::string upper = UpperAscii(decoded);
  for (const LanguageEntry& entry : LanguageEntries()) {
    if (!entry.Text) continue;
    const std::string& text = table.*entry.Text;
    Check(text.size() <= 2047);
    Check(text.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    if (upper.find(entry.Key) == std::string::npos) Check(text == WithoutEndBlanks(entry.EnglishDefault));
  }

  const std::string sizeText = IniFile(decoded).ReadString("COMMON_SETUP", "FONTSIZE", "");
  int32_t spelled = 0;
  Check(table.FONTSIZE == (ParseIniInteger(sizeText, spelled) ? spelled : kDefaultFontSize));
  if (IsPlainNumber(sizeText)) Check(table.FONTSIZE == std::stoi(sizeText));
  if (upper.find("FONTSIZE") == std::string::npos) Check(table.FONTSIZE == kDefaultFontSize);
  return 0;
}
