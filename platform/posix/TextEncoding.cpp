// On a POSIX system the program's texts are in the locale's encoding, which
// this program takes to be UTF-8: nothing to convert.
#include "platform/TextEncoding.h"

std::string SystemCodePageFromUtf8(std::string_view utf8) {
  return std::string(utf8);
}

std::string Utf8FromSystemCodePage(std::string_view text) {
  return std::string(text);
}
