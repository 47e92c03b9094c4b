#include "platform/win32/AnsiText.h"

#include <windows.h>

#include "platform/TextEncoding.h"

namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string FromWide(UINT codePage, std::wstring_view text, DWORD flags) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

}  // namespace

std::wstring AnsiToWide(std::string_view text) {
  return ToWide(CP_ACP, text);
}

std::string WideToAnsi(std::wstring_view text) {
  return FromWide(CP_ACP, text, 0);
}

std::string SystemCodePageFromUtf8(std::string_view utf8) {
  // A system whose code page is UTF-8 takes the bytes as they are.
  if (GetACP() == CP_UTF8) return std::string(utf8);
  // No best fit: a letter the code page lacks (and the replacement character
  // of a malformed sequence) becomes the system's '?', not a look-alike.
  return FromWide(CP_ACP, ToWide(CP_UTF8, utf8), WC_NO_BEST_FIT_CHARS);
}

std::string Utf8FromSystemCodePage(std::string_view text) {
  if (GetACP() == CP_UTF8) return std::string(text);
  return FromWide(CP_UTF8, ToWide(CP_ACP, text), 0);
}
