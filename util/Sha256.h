#pragma once
// SHA-256 of a byte string, as sha256sum prints it: 64 lower-case hex digits.
// The record of the last import keeps it, so that a detection rule can tell
// which file a PC was configured from.
#include <string>
#include <string_view>

std::string Sha256Hex(std::string_view bytes);
