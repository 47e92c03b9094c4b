#pragma once
// The text of a language file, from its bytes as Notepad and other editors
// save them: UTF-16 with a byte-order mark (either byte order), UTF-8 with or
// without one, or the system's 8-bit code page.
#include <string>
#include <string_view>

struct LanguageFileText {
  std::string Text;   // without a byte-order mark; UTF-8 when Utf8 is set
  bool Utf8 = false;  // its texts are to be turned into the system's code page
};

// UTF-16 when the bytes start with its mark; UTF-8 when they start with its
// mark, or when they are well-formed UTF-8 holding at least one byte above
// 127; otherwise the system's code page, the bytes as they stand.
LanguageFileText DecodeLanguageFile(std::string_view bytes);
