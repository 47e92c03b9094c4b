#pragma once
// Text read byte by byte, eight bytes at a time where a file of megabytes is
// walked: line ends, lines, byte comparisons and date texts "dddd/dd/dd".
// Knows nothing of schedules; the store's sources build on it.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace schedule_bytes {

// Words of 8 bytes read from the text hold its first byte in their lowest.
static_assert(std::endian::native == std::endian::little);

constexpr size_t kDateLength = 10;  // "yyyy/mm/dd"

// -- Characters, and words of eight bytes.

inline uint64_t FirstEightBytes(const char* text) {
  uint64_t word;
  std::memcpy(&word, text, sizeof word);
  return word;
}

inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

inline bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

inline bool HoldsLineEnd(std::string_view text) {
  return std::any_of(text.begin(), text.end(), IsLineEnd);
}

// The bytes of word that may be a CR or an LF: each byte below 14 has its
// high bit set (the classic zero-byte test). Bytes above a flagged one may be
// flagged falsely; the lowest flagged byte is a true one.
inline uint64_t LineEndBytes(uint64_t word) {
  constexpr uint64_t kEachByte = 0x0101010101010101;
  return (word - kEachByte * 14) & ~word & kEachByte * 0x80;
}

// The same for the bytes that may be a CR, an LF or a '/'.
inline uint64_t LineEndOrSlashBytes(uint64_t word) {
  constexpr uint64_t kEachByte = 0x0101010101010101;
  const uint64_t slashes = word ^ (kEachByte * '/');
  return LineEndBytes(word) | ((slashes - kEachByte) & ~slashes & kEachByte * 0x80);
}

// The first byte at or after from that is a CR, an LF or a '/', or the end;
// bytes are looked at 8 at a time until one of them may be such a byte.
inline size_t NextLineEndOrSlash(std::string_view text, size_t from) {
  const char* const data = text.data();
  size_t i = from;
  while (i + sizeof(uint64_t) <= text.size()) {
    uint64_t word;
    std::memcpy(&word, data + i, sizeof word);
    const uint64_t hits = LineEndOrSlashBytes(word);
    if (hits == 0) {
      i += sizeof word;
      continue;
    }
    i += static_cast<size_t>(std::countr_zero(hits)) / 8;
    if (IsLineEnd(data[i]) || data[i] == '/') return i;
    ++i;
  }
  for (; i < text.size(); ++i)
    if (IsLineEnd(data[i]) || data[i] == '/') return i;
  return text.size();
}

// The first LF at or after from, or the end; 8 bytes at a time, as the C
// library's search is a byte loop under Wine.
inline size_t NextLineFeed(std::string_view text, size_t from) {
  constexpr uint64_t kEachByte = 0x0101010101010101;
  const char* const data = text.data();
  size_t i = from;
  for (; i + sizeof(uint64_t) <= text.size(); i += sizeof(uint64_t)) {
    uint64_t word;
    std::memcpy(&word, data + i, sizeof word);
    const uint64_t lineFeeds = word ^ (kEachByte * '\n');
    const uint64_t hits = (lineFeeds - kEachByte) & ~lineFeeds & kEachByte * 0x80;
    if (hits != 0) return i + static_cast<size_t>(std::countr_zero(hits)) / 8;
  }
  for (; i < text.size(); ++i)
    if (data[i] == '\n') return i;
  return text.size();
}

// a against b as std::string_view::compare does it (bytes as unsigned
// characters, a prefix first), 8 bytes at a time: the C library's compare is
// a byte loop under Wine.
inline int CompareBytes(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  size_t i = 0;
  for (; i + sizeof(uint64_t) <= common; i += sizeof(uint64_t)) {
    const uint64_t x = __builtin_bswap64(FirstEightBytes(a.data() + i));
    const uint64_t y = __builtin_bswap64(FirstEightBytes(b.data() + i));
    if (x != y) return x < y ? -1 : 1;
  }
  for (; i < common; ++i)
    if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// -- Lines.

// A line of a text: its characters [start, end), and where the next line starts.
struct LineSpan {
  size_t start;
  size_t end;
  size_t next;
};

// The line that starts at start in a text whose line ends are CR LF or LF.
inline LineSpan LineAt(std::string_view text, size_t start) {
  const size_t lineFeed = NextLineFeed(text, start);
  if (lineFeed == text.size()) return {start, text.size(), text.size()};
  const size_t end = lineFeed > start && text[lineFeed - 1] == '\r' ? lineFeed - 1 : lineFeed;
  return {start, end, lineFeed + 1};
}

inline std::string_view TextOf(std::string_view text, const LineSpan& span) {
  return text.substr(span.start, span.end - span.start);
}

// The start of the line that holds the byte at offset.
inline size_t LineStartOf(std::string_view text, size_t offset) {
  const size_t lineFeed = text.substr(0, offset).rfind('\n');
  return lineFeed == std::string_view::npos ? 0 : lineFeed + 1;
}

// -- Date texts.

// True when text starts with a date text "dddd/dd/dd". Every line is tried,
// so its first 8 bytes are checked at once: the two slashes, and the six
// digits as bytes 0x30 to 0x39 (high half 3, and still 3 with 6 added).
inline bool StartsWithDate(std::string_view text) {
  if (text.size() < kDateLength) return false;
  constexpr uint64_t kSlashPlaces = 0xFF0000FF00000000, kSlashes = 0x2F00002F00000000;
  constexpr uint64_t kDigitPlaces = 0x00FFFF00FFFFFFFF, kHighHalves = 0x00F0F000F0F0F0F0;
  constexpr uint64_t kZeroes = 0x0030300030303030, kSixes = 0x0006060006060606;
  const uint64_t head = FirstEightBytes(text.data());
  const uint64_t digits = head & kDigitPlaces;
  return (head & kSlashPlaces) == kSlashes && (digits & kHighHalves) == kZeroes &&
         ((digits + kSixes) & kHighHalves) == kZeroes && IsDigit(text[8]) && IsDigit(text[9]);
}

// The date "dddd/dd/dd" at the start of text as the number yyyymmdd.
inline std::optional<uint32_t> LeadingDate(std::string_view text) {
  if (!StartsWithDate(text)) return std::nullopt;
  uint32_t number = 0;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) number = number * 10 + static_cast<uint32_t>(text[i] - '0');
  return number;
}

// Calls take(offset, date) for every date text "dddd/dd/dd" in line, which
// starts at offset base of the text. A date text has its '/' at 4 and 7, so
// each '/' is tried as the first of them.
template <typename Take>
void ForEachDateText(std::string_view line, size_t base, Take take) {
  for (size_t slash = 4; slash < line.size(); ++slash)
    if (line[slash] == '/')
      if (const auto date = LeadingDate(line.substr(slash - 4))) take(base + slash - 4, *date);
}

}  // namespace schedule_bytes
