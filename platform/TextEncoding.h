#pragma once
// Conversion of text into the program's own form: bytes in the system's
// 8-bit code page, as the settings and language files hold them.
#include <string>
#include <string_view>

// The system code page's bytes for UTF-8 text. A character that the code page
// lacks becomes '?'; a malformed sequence becomes '?' too.
std::string SystemCodePageFromUtf8(std::string_view utf8);

// UTF-8 for text in the system code page.
std::string Utf8FromSystemCodePage(std::string_view text);
