#pragma once
// An initialisation file held in memory as its bytes, read and changed by the
// rules of the Windows profile functions that the monitor relies on.
// Writing changes only the line of the key written; every other byte stays.
#include <cstdint>
#include <string>

// The integer rule: optional sign and decimal digits, or "$", "x", "X", "0x",
// "0X" and hexadecimal digits, fitting in 32 bits. False for anything else.
// Decimal must lie in the int32 range; hexadecimal spells the 32-bit pattern,
// so "$FFFFFFFF" is -1 and "$100000000" is not an integer.
bool ParseIniInteger(const std::string& text, int32_t& value);

class IniFile {
public:
  IniFile() = default;
  explicit IniFile(std::string bytes) : bytes_(std::move(bytes)) {}
  // The file's bytes; a missing or unreadable file gives an empty one.
  static IniFile ReadFrom(const std::string& path);

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t defaultValue) const;
  bool ReadFlag(const std::string& section, const std::string& key, bool defaultValue) const;

  // Writes the value up to any line end or NUL; a value with blanks at its
  // ends or inside a pair of matching quotes is written inside double quotes,
  // so that it reads back exactly.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int32_t value);
  void WriteFlag(const std::string& section, const std::string& key, bool value);

  const std::string& Bytes() const { return bytes_; }

private:
  std::string bytes_;
};
