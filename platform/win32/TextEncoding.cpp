#include "platform/TextEncoding.h"

#include <windows.h>

std::string SystemCodePageFromUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  // A system whose code page is UTF-8 already takes the bytes as they are.
  if (GetACP() == CP_UTF8) return std::string(utf8);
  int size = static_cast<int>(utf8.size());
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  // No best-fit: a letter the code page lacks (and the replacement character
  // of a malformed sequence) shows as '?', not as a look-alike.
  const DWORD flags = WC_NO_BEST_FIT_CHARS;
  int bytes = WideCharToMultiByte(CP_ACP, flags, wide.data(), length, nullptr, 0, "?", nullptr);
  std::string text(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, flags, wide.data(), length, text.data(), bytes, "?", nullptr);
  return text;
}
