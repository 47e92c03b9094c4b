#pragma once
// The rules of the schedule store's lines. An event line is a date, its kind
// word, its time and its warning flag: "2024/05/17,SHUTDOWN,08:30,1". Lines
// are sorted by date, then by kind: lines too short to name a kind, SHUTDOWN,
// STARTUP, any other word, TESTUPS. The three kind words differ in their
// second letter, so the first 13 bytes of a line (the date, the comma and two
// letters) place it in that order.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "schedule/ScheduleBytes.h"

// -- The kinds of event, numbered as their markers: red, lime, blue.

inline constexpr int kKindCount = 3;
inline constexpr std::string_view kKindWords[kKindCount] = {"SHUTDOWN", "STARTUP", "TESTUPS"};

// The kind a word names exactly; nothing for any other word.
constexpr std::optional<int> KindOfWord(std::string_view word) {
  for (int kind = 0; kind < kKindCount; ++kind)
    if (word == kKindWords[kind]) return kind;
  return std::nullopt;
}

namespace schedule_order {

using schedule_bytes::FirstEightBytes;
using schedule_bytes::kDateLength;
using schedule_bytes::LineEndBytes;
constexpr size_t kTimeAndFlag = 7;              // "HH:MM,F"
constexpr size_t kSecondLetter = 12;            // of the kind word, after the date and its comma
constexpr size_t kSortKey = kSecondLetter + 1;  // the bytes that place a line in the order
constexpr int kOtherWord = kKindCount;  // a date text followed by anything but a comma and a kind word

inline std::string_view DateOf(std::string_view line) {
  return line.substr(0, kDateLength);
}

// The kind whose word has letter as its second one, or -1.
constexpr int KindOfSecondLetter(char letter) {
  return letter == kKindWords[0][1]   ? 0
         : letter == kKindWords[1][1] ? 1
         : letter == kKindWords[2][1] ? 2
                                      : -1;
}

// The kind word after the date text that starts text: a comma and one of the
// kind words, else kOtherWord. Kind words hold no line end, so the one found
// is within the date's line.
inline int KindAfterDate(std::string_view text) {
  if (text.size() <= kDateLength || text[kDateLength] != ',') return kOtherWord;
  const std::string_view rest = text.substr(kDateLength + 1);
  for (int kind = 0; kind < kKindCount; ++kind)
    if (rest.starts_with(kKindWords[kind])) return kind;
  return kOtherWord;
}

// Where the line at line ends when it is an event line of kind Kind (see
// EventLineEnd), with end the end of the text; every length is fixed, so the
// compiler compares in place. Inlined even at -O2: it is the load's hot path.
template <int Kind>
[[gnu::always_inline]] inline size_t EventLineEndOfKind(const char* line, size_t start, size_t end) {
  constexpr size_t kLength = kDateLength + 1 + kKindWords[Kind].size() + kTimeAndFlag + 1;
  const char* const word = line + kDateLength + 1;
  if (line[kDateLength] != ',' || start + kLength >= end ||
      std::memcmp(word, kKindWords[Kind].data(), kKindWords[Kind].size()) != 0)
    return std::string_view::npos;
  uint64_t rest;  // the comma after the word, time and flag
  std::memcpy(&rest, line + kLength - sizeof rest, sizeof rest);
  if (schedule_bytes::LineEndOrSlashBytes(rest) != 0 || (line[kLength] != '\r' && line[kLength] != '\n'))
    return std::string_view::npos;
  return start + kLength;
}

// Where the line that starts at start, with a date text, ends when it is an
// event line: date, comma, kind word, 7 more characters without a CR, LF or
// '/', and its line end right after. Such a line holds no date text but the
// one at its start. npos for any other line. kind: the kind word's.
inline size_t EventLineEnd(std::string_view text, size_t start, int& kind) {
  constexpr size_t kShortest = kDateLength + 1 + 7 + kTimeAndFlag + 1;  // with a 7-letter kind word
  if (text.size() - start <= kShortest + 1) return std::string_view::npos;
  const char* const line = text.data() + start;
  switch (line[kSecondLetter]) {
    case kKindWords[0][1]:
      kind = 0;
      return EventLineEndOfKind<0>(line, start, text.size());
    case kKindWords[1][1]:
      kind = 1;
      return EventLineEndOfKind<1>(line, start, text.size());
    case kKindWords[2][1]:
      kind = 2;
      return EventLineEndOfKind<2>(line, start, text.size());
    default:
      kind = -1;
      return std::string_view::npos;
  }
}

// -- The order of lines.

// Ranks of lines of one date: too short to name a kind, each kind, any other word.
constexpr int kRankOfShortLine = 0;
constexpr int kRankOfKind[kKindCount] = {1, 2, 4};
constexpr int kRankOfOtherWord = 3;

inline int KindRank(std::string_view line) {
  if (line.size() <= kSecondLetter) return kRankOfShortLine;
  const int kind = KindOfSecondLetter(line[kSecondLetter]);
  return kind < 0 ? kRankOfOtherWord : kRankOfKind[kind];
}

// Where a line of at least 10 bytes stands in the sort order: its first 10
// bytes in order, then its kind's rank; the order SortsBefore gives such
// lines, found without comparing texts.
struct SortKey {
  uint64_t head;  // the first 8 bytes, the first one highest
  uint32_t tail;  // the last two bytes of the date, then the rank
  auto operator<=>(const SortKey&) const = default;
};

inline SortKey SortKeyOf(std::string_view line, int rank) {
  return {__builtin_bswap64(FirstEightBytes(line.data())),
          static_cast<uint32_t>(static_cast<unsigned char>(line[8])) << 16 |
              static_cast<uint32_t>(static_cast<unsigned char>(line[9])) << 8 | static_cast<uint32_t>(rank)};
}

inline bool SortsBefore(std::string_view a, std::string_view b) {
  if (a.size() >= kDateLength && b.size() >= kDateLength) {
    const SortKey dateOfA = SortKeyOf(a, 0), dateOfB = SortKeyOf(b, 0);
    if (dateOfA != dateOfB) return dateOfA < dateOfB;
  } else {
    // A shorter date is a prefix and sorts first.
    const int byDate = schedule_bytes::CompareBytes(DateOf(a), DateOf(b));
    if (byDate != 0) return byDate < 0;
  }
  return KindRank(a) < KindRank(b);
}

// The start of the line at start up to the bytes that place it in the sort
// order, or up to its end.
inline std::string_view SortKeyAt(std::string_view text, size_t start) {
  const std::string_view head = text.substr(start, kSortKey);
  // Most lines are longer: two words, overlapping, show no line end in it.
  if (head.size() == kSortKey &&
      (LineEndBytes(FirstEightBytes(head.data())) | LineEndBytes(FirstEightBytes(head.data() + 5))) == 0)
    return head;
  const auto end = std::find_if(head.begin(), head.end(), schedule_bytes::IsLineEnd);
  return head.substr(0, static_cast<size_t>(end - head.begin()));
}

}  // namespace schedule_order
