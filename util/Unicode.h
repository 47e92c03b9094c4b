#pragma once
// UTF-8 checked and UTF-16 turned into UTF-8 by the portable core itself, so
// that files written in either form can be read without the system's help.
#include <string>
#include <string_view>

// True when the bytes are well-formed UTF-8: no overlong form, no surrogate,
// nothing above U+10FFFF and no sequence cut short.
bool IsValidUtf8(std::string_view bytes);

// UTF-8 for UTF-16 text given as bytes, two to a code unit in the byte order
// given. An unpaired surrogate becomes U+FFFD; an odd last byte is dropped.
std::string Utf8FromUtf16(std::string_view bytes, bool bigEndian);
