#include "settings/IniFile.h"

#include <cstring>
#include <limits>
#include <string_view>

#include "platform/FileSystem.h"

namespace {

// The longest value a read gives, as the system's 2048-character buffer holds it.
constexpr size_t kMaxValueLength = 2047;

bool IsBlank(char c) {
  return (c >= '\x09' && c <= '\x0D') || c == '\x1A' || c == ' ';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view TrimEnd(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The system's reader sees a name or a value as a C string: a NUL ends it.
std::string_view UpToNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

// One line of the file. Content is [begin, end); next is where the following
// line starts, after this line's own line end (CR LF, LF or CR; none at the
// end of the file). Any run of CR and LF ends a line: the lines between are
// empty ones.
struct Line {
  size_t begin = 0;
  size_t end = 0;
  size_t next = 0;
  bool HasLineEnd() const { return next > end; }
};

Line LineAt(std::string_view bytes, size_t begin) {
  const char* start = bytes.data() + begin;
  size_t rest = bytes.size() - begin;
  const void* lf = std::memchr(start, '\n', rest);
  size_t span = lf ? static_cast<size_t>(static_cast<const char*>(lf) - start) : rest;
  if (const void* cr = std::memchr(start, '\r', span)) span = static_cast<const char*>(cr) - start;
  Line line{begin, begin + span, begin + span};
  if (line.end < bytes.size()) {
    bool crlf = bytes[line.end] == '\r' && line.end + 1 < bytes.size() && bytes[line.end + 1] == '\n';
    line.next = line.end + (crlf ? 2 : 1);
  }
  return line;
}

// What a line means: a section header, an entry (key=value, or a bare name
// without '=' that reads as missing), or nothing (blank).
struct LineMeaning {
  enum Kind { kBlank, kSection, kEntry } kind = kBlank;
  std::string_view name;  // section name or key name, trimmed
  bool hasValue = false;  // the entry has '='
  size_t valueStart = 0;  // offset in the file of the first byte after '=' and its blanks
};

LineMeaning Classify(std::string_view bytes, const Line& line) {
  std::string_view raw = bytes.substr(line.begin, line.end - line.begin);
  std::string_view text = Trim(raw);
  LineMeaning meaning;
  if (text.empty()) return meaning;
  size_t textOffset = line.begin + static_cast<size_t>(text.data() - raw.data());
  if (text.front() == '[') {
    size_t close = text.rfind(']');
    if (close != std::string_view::npos) {
      meaning.kind = LineMeaning::kSection;
      meaning.name = UpToNul(Trim(text.substr(1, close - 1)));
      return meaning;
    }
  }
  meaning.kind = LineMeaning::kEntry;
  size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    meaning.name = UpToNul(text);
    return meaning;
  }
  meaning.name = UpToNul(TrimEnd(text.substr(0, equals)));
  meaning.hasValue = true;
  size_t value = equals + 1;
  while (value < text.size() && IsBlank(text[value])) ++value;
  meaning.valueStart = textOffset + value;
  return meaning;
}

// Where a key stands, or where it would go.
struct KeyPlace {
  bool sectionFound = false;
  bool keyFound = false;
  Line keyLine;            // when keyFound
  LineMeaning key;         // when keyFound
  Line lastLineOfSection;  // when sectionFound: the header or its last non-blank line
};

// The first section of that name, and the first key of that name inside it.
KeyPlace Locate(std::string_view bytes, std::string_view section, std::string_view key) {
  KeyPlace place;
  bool inSection = false;
  for (size_t at = 0; at < bytes.size();) {
    Line line = LineAt(bytes, at);
    at = line.next;
    LineMeaning meaning = Classify(bytes, line);
    if (meaning.kind == LineMeaning::kBlank) continue;
    if (meaning.kind == LineMeaning::kSection) {
      if (inSection) break;  // the first matching section has ended
      inSection = !meaning.name.empty() && SameName(meaning.name, section);
      if (inSection) {
        place.sectionFound = true;
        place.lastLineOfSection = line;
      }
      continue;
    }
    if (!inSection) continue;
    place.lastLineOfSection = line;
    if (SameName(meaning.name, key)) {
      place.keyFound = true;
      place.keyLine = line;
      place.key = meaning;
      break;
    }
  }
  return place;
}

// A written value is one line: it ends before any line end or NUL, which would
// otherwise cut the file's lines apart or end the text for the system's reader.
std::string_view OneLine(std::string_view value) {
  size_t stop = value.find_first_of(std::string_view("\r\n\0", 3));
  return stop == std::string_view::npos ? value : value.substr(0, stop);
}

// A text as it goes into the file so that reading gives it back: one that
// reading would change (blanks at its ends are trimmed, a pair of matching
// quotes around it removed) goes inside double quotes, which reading removes.
std::string AsWritten(std::string_view text) {
  const bool blankAtAnEnd = !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
  const bool quoted =
      text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front();
  if (!blankAtAnEnd && !quoted) return std::string(text);
  std::string written = "\"";
  written += text;
  written += '"';
  return written;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

// Decimal must lie in the int32 range. Hexadecimal may use all 32 bits: it
// spells the bit pattern, so "$FFFFFFFF" is -1 and "$80000000" is INT32_MIN;
// anything needing more than 32 bits gives the default.
bool ParseIniInteger(const std::string& text, int32_t& value) {
  std::string_view rest = text;
  if (rest.empty()) return false;

  size_t prefix = 0;
  if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')
    prefix = 1;
  else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X'))
    prefix = 2;
  if (prefix) {
    rest.remove_prefix(prefix);
    if (rest.empty()) return false;
    uint64_t bits = 0;
    for (char c : rest) {
      int digit = HexDigit(c);
      if (digit < 0) return false;
      bits = bits * 16 + static_cast<uint64_t>(digit);
      if (bits > 0xFFFFFFFFull) return false;
    }
    value = static_cast<int32_t>(static_cast<uint32_t>(bits));
    return true;
  }

  bool negative = false;
  if (rest[0] == '+' || rest[0] == '-') {
    negative = rest[0] == '-';
    rest.remove_prefix(1);
  }
  if (rest.empty()) return false;
  const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                 : std::numeric_limits<int32_t>::max();
  int64_t magnitude = 0;
  for (char c : rest) {
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) return false;
  }
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return true;
}

IniFile IniFile::ReadFrom(const std::string& path) {
  try {
    return IniFile(fs_seam::ReadWholeFile(path));
  } catch (const fs_seam::FileError&) {
    return IniFile();
  }
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  std::string_view sectionName = Trim(section);
  std::string_view keyName = Trim(key);
  KeyPlace place;
  if (!sectionName.empty() && !keyName.empty()) place = Locate(bytes_, sectionName, keyName);
  if (!place.keyFound || !place.key.hasValue) {
    std::string_view fallback = TrimEnd(defaultValue);
    return std::string(fallback.substr(0, kMaxValueLength));
  }
  std::string_view value = UpToNul(
      Trim(std::string_view(bytes_).substr(place.key.valueStart, place.keyLine.end - place.key.valueStart)));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value.substr(0, kMaxValueLength));
}

int32_t IniFile::ReadInteger(const std::string& section, const std::string& key, int32_t defaultValue) const {
  int32_t value = 0;
  return ParseIniInteger(ReadString(section, key, ""), value) ? value : defaultValue;
}

bool IniFile::ReadFlag(const std::string& section, const std::string& key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  std::string_view sectionName = Trim(section);
  std::string_view keyName = Trim(key);
  if (sectionName.empty() || keyName.empty()) return;
  const std::string text = AsWritten(OneLine(value));
  KeyPlace place = Locate(bytes_, sectionName, keyName);

  if (place.keyFound) {
    if (place.key.hasValue) {
      bytes_.replace(place.key.valueStart, place.keyLine.end - place.key.valueStart, text);
    } else {
      // A bare name without '=': it becomes key=value where it stands.
      size_t nameEnd = static_cast<size_t>(place.key.name.data() - bytes_.data()) + place.key.name.size();
      std::string entry = "=";
      entry += text;
      bytes_.replace(nameEnd, place.keyLine.end - nameEnd, entry);
    }
    return;
  }

  std::string entry(keyName);
  entry += '=';
  entry += text;
  entry += "\r\n";
  if (place.sectionFound) {
    const Line& last = place.lastLineOfSection;
    if (!last.HasLineEnd()) entry.insert(0, "\r\n");
    bytes_.insert(last.next, entry);
    return;
  }

  std::string block;
  if (!bytes_.empty() && bytes_.back() != '\n' && bytes_.back() != '\r') block = "\r\n";
  block += '[';
  block += sectionName;
  block += "]\r\n";
  block += entry;
  bytes_ += block;
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteFlag(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}
