#include "schedule/TSchedule.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/FileSystem.h"
#include "util/AppError.h"

namespace {

// Words of 8 bytes read from the text hold its first byte in their lowest.
static_assert(std::endian::native == std::endian::little);

constexpr std::string_view kKinds[] = {TSchedule::kKindWords[0], TSchedule::kKindWords[1],
                                       TSchedule::kKindWords[2]};
constexpr int kKindCount = 3;
constexpr int kOtherWord = 3;  // a date text followed by anything but a comma and a kind word
constexpr size_t kDateLength = 10;  // "yyyy/mm/dd"
constexpr size_t kTimeAndFlag = 7;  // "HH:MM,F"

// A mark: the date as the number yyyymmdd, times 4, plus the kind after it,
// above the offset of the date text. Marks in numeric order are ordered by
// date, kind and offset; a date texts's number fits in 27 bits.
constexpr int kOffsetBits = 35;
constexpr uint64_t kOffsetMask = (uint64_t{1} << kOffsetBits) - 1;

uint64_t MarkOf(uint32_t date, int kind, size_t offset) {
  return (uint64_t{date} * 4 + static_cast<uint64_t>(kind)) << kOffsetBits | offset;
}
size_t OffsetOf(uint64_t mark) {
  return static_cast<size_t>(mark & kOffsetMask);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

bool HoldsLineEnd(std::string_view text) {
  return std::any_of(text.begin(), text.end(), IsLineEnd);
}

int KindIndex(std::string_view word) {
  for (int kind = 0; kind < kKindCount; ++kind)
    if (word == kKinds[kind]) return kind;
  return -1;
}

inline uint64_t FirstEightBytes(const char* text) {
  uint64_t word;
  std::memcpy(&word, text, sizeof word);
  return word;
}

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
std::optional<uint32_t> LeadingDate(std::string_view text) {
  if (!StartsWithDate(text)) return std::nullopt;
  uint32_t number = 0;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) number = number * 10 + static_cast<uint32_t>(text[i] - '0');
  return number;
}

// The kind word after the date text that starts text: a comma and one of the
// kind words, else kOtherWord. Kind words hold no line end, so the one found
// is within the date's line.
int KindAfterDate(std::string_view text) {
  if (text.size() <= kDateLength || text[kDateLength] != ',') return kOtherWord;
  const std::string_view rest = text.substr(kDateLength + 1);
  for (int kind = 0; kind < kKindCount; ++kind)
    if (rest.starts_with(kKinds[kind])) return kind;
  return kOtherWord;
}

// Order of lines of one date: lines too short to name a kind first, then
// SHUTDOWN, STARTUP, any other letter, and TESTUPS last (its second letter 'E'
// goes after every other one).
int KindRank(std::string_view line) {
  constexpr size_t kSecondLetterOfKind = 12;
  if (line.size() <= kSecondLetterOfKind) return 0;
  switch (line[kSecondLetterOfKind]) {
    case 'H':
      return 1;
    case 'T':
      return 2;
    case 'E':
      return 4;
    default:
      return 3;
  }
}

// Where a line of at least 10 bytes stands in the sort order: its first 10
// bytes in order, then its kind's rank; the order SortsBefore gives such
// lines, found without comparing texts.
struct SortKey {
  uint64_t head;  // the first 8 bytes, the first one highest
  uint32_t tail;  // the last two bytes of the date, then the rank
  auto operator<=>(const SortKey&) const = default;
};

SortKey SortKeyOf(std::string_view line, int rank) {
  return {__builtin_bswap64(FirstEightBytes(line.data())),
          static_cast<uint32_t>(static_cast<unsigned char>(line[8])) << 16 |
              static_cast<uint32_t>(static_cast<unsigned char>(line[9])) << 8 | static_cast<uint32_t>(rank)};
}

std::string_view DateOf(std::string_view line) {
  return line.substr(0, kDateLength);
}

// a against b as std::string_view::compare does it (bytes as unsigned
// characters, a prefix first), 8 bytes at a time: the C library's compare is
// a byte loop under Wine.
int CompareBytes(std::string_view a, std::string_view b) {
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

bool SortsBefore(std::string_view a, std::string_view b) {
  if (a.size() >= kDateLength && b.size() >= kDateLength) {
    const SortKey dateOfA = SortKeyOf(a, 0), dateOfB = SortKeyOf(b, 0);
    if (dateOfA != dateOfB) return dateOfA < dateOfB;
  } else {
    // A shorter date is a prefix and sorts first.
    const int byDate = CompareBytes(DateOf(a), DateOf(b));
    if (byDate != 0) return byDate < 0;
  }
  return KindRank(a) < KindRank(b);
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
size_t NextLineEndOrSlash(std::string_view text, size_t from) {
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

// Where the line that starts at start, with a date text, ends when it has the
// shape of an event line: date, comma, kind word, 7 more characters without a
// CR, LF or '/', and its line end right after. Such a line holds no date text
// but the one at its start. npos for any other line. kind: the kind word's.
inline size_t EventLineEnd(std::string_view text, size_t start, int& kind) {
  constexpr size_t kShortest = 26;  // a line of a 7-letter kind word
  if (text.size() - start <= kShortest + 1) return std::string_view::npos;
  const char* const line = text.data() + start;
  kind = line[12] == 'H' ? 0 : line[12] == 'T' ? 1 : line[12] == 'E' ? 2 : -1;
  if (kind < 0 || line[kDateLength] != ',') return std::string_view::npos;
  const size_t length = kDateLength + 1 + kKinds[kind].size() + kTimeAndFlag + 1;
  const char* const word = line + kDateLength + 1;
  // Comparisons of a fixed length, which the compiler does in place.
  const bool wordMatches = kind == 0   ? std::memcmp(word, "SHUTDOWN", 8) == 0
                           : kind == 1 ? std::memcmp(word, "STARTUP", 7) == 0
                                       : std::memcmp(word, "TESTUPS", 7) == 0;
  if (start + length >= text.size() || !wordMatches) return std::string_view::npos;
  uint64_t rest;  // the comma after the word, time and flag
  std::memcpy(&rest, line + length - sizeof rest, sizeof rest);
  if (LineEndOrSlashBytes(rest) != 0 || (line[length] != '\r' && line[length] != '\n'))
    return std::string_view::npos;
  return start + length;
}

// Where the line that starts at start ends (at its CR or LF, or the end of
// the text); adds to marks the date texts within it but the one at its start.
// dated: the line starts with a date text.
size_t OtherLineEndMarkingDates(std::string_view text, size_t start, bool dated, std::vector<uint64_t>& marks);

size_t LineEndMarkingDates(std::string_view text, size_t start, bool dated, std::vector<uint64_t>& marks) {
  // A line in the shape of an event holds no '/' to look at but its date's.
  int kind;
  if (dated)
    if (const size_t end = EventLineEnd(text, start, kind); end != std::string_view::npos) return end;
  return OtherLineEndMarkingDates(text, start, dated, marks);
}

// The same for a line not in the shape of an event.
size_t OtherLineEndMarkingDates(std::string_view text, size_t start, bool dated, std::vector<uint64_t>& marks) {
  // A date at the start: its own '/' need no second look.
  size_t end = NextLineEndOrSlash(text, dated ? start + kDateLength : start);
  while (end < text.size() && text[end] == '/') {
    if (end >= start + 4) {
      if (const auto date = LeadingDate(text.substr(end - 4, kDateLength)))
        marks.push_back(MarkOf(*date, KindAfterDate(text.substr(end - 4)), end - 4));
    }
    end = NextLineEndOrSlash(text, end + 1);
  }
  return end;
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

}  // namespace

void TSchedule::Clear() {
  text_.clear();
  count_ = 0;
  lineFeedsAlone_ = 0;
  strides_.clear();
  sortedEnd_ = 0;
  marks_.clear();
  indexed_ = true;
  cursorLine_ = cursorStart_ = 0;
}

void TSchedule::LoadSchedule() {
  if (!fs_seam::FileExists(FilePath)) return;
  std::string bytes;
  try {
    // Room for the lines a session adds (some two thousand), so that adding
    // the first does not copy the whole file to a larger block.
    constexpr size_t kRoomToAdd = 64 * 1024;
    bytes = fs_seam::ReadWholeFile(FilePath, kRoomToAdd);
  } catch (const fs_seam::FileError&) {
    throw AppError(FormatMessageText("Cannot open file %s", FilePath));
  }
  // Offsets are kept in the low bits of a mark; no schedule comes near the limit.
  if (bytes.size() > kOffsetMask) throw AppError(FormatMessageText("Cannot open file %s", FilePath));
  Clear();
  text_ = std::move(bytes);
  Index();
}

void TSchedule::SaveSchedule() {
  SortSchedule();
  try {
    if (InStoreForm())
      fs_seam::WriteFileAtomically(FilePath, text_);
    else
      fs_seam::WriteFileAtomically(FilePath, StoreText());
  } catch (const fs_seam::FileError& error) {
    throw AppError(WithCause(FormatMessageText("Cannot create file %s", FilePath), error.what()));
  }
}

void TSchedule::SetEvent(const std::string& date, const std::string& time, bool warning) {
  if (KindIndex(Kind) < 0) return;
  // A line end in either text would split the event into two lines.
  if (HoldsLineEnd(date) || HoldsLineEnd(time)) return;
  // The whole line in one string: the key, a comma, time and flag.
  std::string line;
  line.reserve(date.size() + Kind.size() + time.size() + 4);
  line.append(date).append(",").append(Kind).append(",").append(time).append(warning ? ",1" : ",0");
  const std::string_view key = std::string_view(line).substr(0, date.size() + 1 + Kind.size());
  const std::string_view commaAndTimeAndFlag = std::string_view(line).substr(key.size());
  const size_t found = FindFirst(key);
  if (found == kNotFound) {
    AppendLine(line);
    return;
  }
  // Time and flag change within this line only, even when it is too short to
  // hold them: the character after the key stays (a comma goes in when there
  // is none), and the 7 after it give way.
  const Span span = SpanAt(LineStartOf(found));
  const size_t keyEnd = found + key.size();
  if (keyEnd == span.end)
    ChangeWithinLine(span, keyEnd, 0, commaAndTimeAndFlag);
  else
    ChangeWithinLine(span, keyEnd + 1, std::min(kTimeAndFlag, span.end - keyEnd - 1), commaAndTimeAndFlag.substr(1));
}

bool TSchedule::DeleteEvent(const std::string& key) {
  const size_t found = FindFirst(key);
  if (found == kNotFound) return false;
  EraseLine(LineStartOf(found));
  return true;
}

void TSchedule::SortSchedule() {
  if (sortedEnd_ == text_.size()) return;
  if (lineFeedsAlone_ > 0) {
    // Every line end becomes CR LF first, so that lines keep their lengths below.
    text_ = StoreText();
    Index();
    if (sortedEnd_ == text_.size()) return;
  }
  // The lines from sortedEnd_ on, sorted, each go in after the sorted lines
  // that do not sort after it (a stable merge), within the text: from its
  // end backwards, each run of sorted lines moves up to its place, and the
  // line before it goes in below.
  const std::string later = text_.substr(sortedEnd_);
  std::vector<std::string_view> lines;
  for (size_t start = 0; start < later.size();) {
    const Span span = SpanIn(later, start);
    lines.push_back(std::string_view(later).substr(start, span.end - start));
    start = span.next;
  }
  std::stable_sort(lines.begin(), lines.end(), SortsBefore);
  std::vector<size_t> places;
  size_t size = sortedEnd_;
  for (const std::string_view line : lines) {
    places.push_back(FirstSortedAfter(line));
    size += line.size() + 2;
  }
  size_t from = sortedEnd_;
  text_.resize(size);  // grows by the CR LF of a last line that lacked it
  char* const data = text_.data();
  for (size_t i = lines.size(); i-- > 0;) {
    size -= from - places[i];
    std::memmove(data + size, data + places[i], from - places[i]);
    from = places[i];
    size -= lines[i].size() + 2;
    std::memcpy(data + size, lines[i].data(), lines[i].size());
    std::memcpy(data + size + lines[i].size(), "\r\n", 2);
  }
  // The lines' count and line ends are as before; the rest waits until asked
  // for, as a store is mostly sorted to be saved just before the program ends.
  sortedEnd_ = text_.size();
  indexed_ = false;
}

std::string TSchedule::StoreText() const {
  if (InStoreForm()) return text_;
  std::string text;
  text.reserve(text_.size() + lineFeedsAlone_ + 2);
  for (size_t start = 0; start < text_.size();) {
    const Span span = SpanAt(start);
    text.append(TextOf(span)).append("\r\n");
    start = span.next;
  }
  return text;
}

bool TSchedule::Holds(const std::string& key) const {
  return FindFirst(key) != kNotFound;
}

std::optional<std::string> TSchedule::EventTime(const std::string& date, const std::string& kind) const {
  const std::string key = date + "," + kind;
  const size_t found = FindFirst(key);
  if (found == kNotFound) return std::nullopt;
  const size_t end = SpanAt(LineStartOf(found)).end;
  const size_t at = found + key.size() + 1;
  if (at >= end) return "";
  return text_.substr(at, std::min<size_t>(5, end - at));
}

TSchedule::MonthEvents TSchedule::EventsOfMonth(const std::string& monthPrefix) const {
  IndexWhenAsked();
  MonthEvents held{};
  const auto dayText = [](int day) {
    return std::string{static_cast<char>('0' + day / 10), static_cast<char>('0' + day % 10)};
  };
  const auto firstDate = LeadingDate(monthPrefix + "01");
  if (monthPrefix.size() != kDateLength - 2 || !firstDate) {
    // Not a date the marks know: one search per day and kind.
    for (int day = 1; day <= 31; ++day)
      for (int kind = 0; kind < kKindCount; ++kind)
        held[day - 1][kind] = Holds(monthPrefix + dayText(day) + "," + std::string(kKinds[kind]));
    return held;
  }
  const auto hold = [&held](uint32_t date, int kind) {
    const uint32_t day = date % 100;
    if (kind < kKindCount && day >= 1 && day <= 31) held[day - 1][kind] = true;
  };
  // Lines of the sorted part that start with the month's dates stand together.
  for (size_t start = FirstSortedFrom(monthPrefix); start < sortedEnd_;) {
    const Span span = SpanAt(start);
    const std::string_view line = TextOf(span);
    if (!line.starts_with(monthPrefix)) break;
    if (const auto date = LeadingDate(line)) hold(*date, KindAfterDate(line));
    start = span.next;
  }
  // Every other date text of the month.
  const uint32_t month = *firstDate - 1;  // yyyymm00
  const auto end = std::lower_bound(marks_.begin(), marks_.end(), MarkOf(month + 100, 0, 0));
  for (auto it = std::lower_bound(marks_.begin(), marks_.end(), MarkOf(month, 0, 0)); it != end; ++it) {
    const uint64_t code = *it >> kOffsetBits;
    hold(static_cast<uint32_t>(code / 4), static_cast<int>(code % 4));
  }
  return held;
}

std::vector<std::string> TSchedule::DeleteEventsOfKind(
    const std::string& kind, const std::function<bool(std::string_view date)>& remove) {
  std::vector<std::string> removedDates;
  if (kind.empty()) return removedDates;
  // Each run of kept lines moves down over the removed ones before it, with
  // its line ends.
  size_t kept = 0;
  size_t runStart = 0;
  const auto keepRun = [&](size_t runEnd) {
    if (kept != runStart) std::memmove(text_.data() + kept, text_.data() + runStart, runEnd - runStart);
    kept += runEnd - runStart;
  };
  for (size_t start = 0; start < text_.size();) {
    const Span span = SpanAt(start);
    const std::string_view line = TextOf(span);
    const bool ofKind = LeadingDate(line) && line.size() > kDateLength && line[kDateLength] == ',' &&
                        line.substr(kDateLength + 1).starts_with(kind);
    if (ofKind && remove(DateOf(line))) {
      removedDates.emplace_back(DateOf(line));
      if (span.next > span.end && text_[span.end] == '\n') --lineFeedsAlone_;
      keepRun(start);
      runStart = span.next;
    }
    start = span.next;
  }
  if (removedDates.empty()) return removedDates;
  keepRun(text_.size());
  const bool wasSorted = sortedEnd_ == text_.size();
  text_.resize(kept);
  count_ -= removedDates.size();
  if (wasSorted) {
    // Sorted lines stay sorted when some are taken out; the rest waits until asked for.
    sortedEnd_ = kept;
    indexed_ = false;
  } else {
    Index();
  }
  return removedDates;
}

std::string_view TSchedule::Line(size_t index) const {
  IndexWhenAsked();
  size_t line = index / kStride * kStride;
  size_t start = strides_[index / kStride];
  if (cursorLine_ > line && cursorLine_ <= index) {
    line = cursorLine_;
    start = cursorStart_;
  }
  for (; line < index; ++line) start = SpanAt(start).next;
  cursorLine_ = index;
  cursorStart_ = start;
  return TextOf(SpanAt(start));
}

// Finds the lines, their order and the marks in one pass over the text. A lone
// CR becomes the LF it stands for.
void TSchedule::Index() {
  indexed_ = true;
  count_ = 0;
  lineFeedsAlone_ = 0;
  strides_.clear();
  marks_.clear();
  cursorLine_ = cursorStart_ = 0;
  const std::string_view text = text_;
  char* const data = text_.data();
  sortedEnd_ = text.size();
  bool sorted = true;
  std::string_view previous;
  std::optional<SortKey> previousKey;
  for (size_t start = 0; start < text.size();) {
    if (sorted && previousKey) {
      start = SkipLinesAsSaved(start, previous, *previousKey);
      if (start == text.size()) break;
    }
    if (count_ % kStride == 0) strides_.push_back(start);
    ++count_;
    const bool dated = StartsWithDate(text.substr(start, kDateLength));
    const size_t end = LineEndMarkingDates(text, start, dated, marks_);
    size_t next = end;
    if (end < text.size()) {
      next = end + 1;
      if (data[end] == '\r' && next < text.size() && data[next] == '\n') {
        ++next;
      } else {
        data[end] = '\n';
        ++lineFeedsAlone_;
      }
    }
    const std::string_view line = text.substr(start, end - start);
    const std::optional<SortKey> key =
        dated ? std::optional(SortKeyOf(line, KindRank(line))) : std::nullopt;
    if (sorted && count_ > 1) {
      const bool outOfOrder = key && previousKey ? *key < *previousKey : SortsBefore(line, previous);
      if (outOfOrder) {
        sorted = false;
        sortedEnd_ = start;
      }
    }
    previous = line;
    previousKey = key;
    if (!sorted && dated) marks_.push_back(MarkOf(*LeadingDate(line), KindAfterDate(line), start));
    start = next;
  }
  std::sort(marks_.begin(), marks_.end());
}

// From start on, the lines that are event lines as this program saves them
// (EventLineEnd, then CR LF) and that do not sort before the one before:
// counted, with their strides, in a few steps each. previous and its sort key
// become the last of them. Gives where the first other line starts, or the end.
template <typename Key>
size_t TSchedule::SkipLinesAsSaved(size_t start, std::string_view& previous, Key& previousKey) {
  constexpr int kRankOfKind[] = {1, 2, 4};  // KindRank of each kind word
  // Each line is looked at through a window as long as the longest such line
  // with its CR LF; the last lines of the text are left to the caller.
  constexpr size_t kWindow = 29;
  const char* const data = text_.data();
  const size_t size = text_.size();
  size_t count = count_;
  while (size - start >= kWindow) {
    const std::string_view window(data + start, kWindow);
    if (!StartsWithDate(window)) break;
    int kind;
    const size_t end = EventLineEnd(window, 0, kind);
    if (end == std::string_view::npos || window[end] != '\r' || window[end + 1] != '\n') break;
    const std::string_view line = window.substr(0, end);
    const Key key = SortKeyOf(line, kRankOfKind[kind]);
    if (key < previousKey) break;
    if (count % kStride == 0) strides_.push_back(start);
    ++count;
    previous = line;
    previousKey = key;
    start += end + 2;
  }
  count_ = count;
  return start;
}

// The strides and marks of a text whose lines are all sorted, as after a
// sort or after lines were taken out of sorted ones: only the date texts
// within lines are marks.
void TSchedule::IndexWhenAsked() const {
  if (indexed_) return;
  indexed_ = true;
  strides_.clear();
  marks_.clear();
  cursorLine_ = cursorStart_ = 0;
  const std::string_view text = text_;
  for (size_t start = 0, line = 0; start < text.size(); ++line) {
    if (line % kStride == 0) strides_.push_back(start);
    const size_t end = LineEndMarkingDates(text, start, StartsWithDate(text.substr(start, kDateLength)), marks_);
    start = end + 1 + (end < text.size() && text[end] == '\r');  // past CR LF or LF
  }
  std::sort(marks_.begin(), marks_.end());
}

TSchedule::Span TSchedule::SpanIn(std::string_view text, size_t start) {
  const size_t lineFeed = NextLineFeed(text, start);
  if (lineFeed == text.size()) return {start, text.size(), text.size()};
  const size_t end = lineFeed > start && text[lineFeed - 1] == '\r' ? lineFeed - 1 : lineFeed;
  return {start, end, lineFeed + 1};
}

TSchedule::Span TSchedule::SpanAt(size_t start) const {
  return SpanIn(text_, start);
}

std::string_view TSchedule::TextOf(const Span& span) const {
  return std::string_view(text_).substr(span.start, span.end - span.start);
}

size_t TSchedule::LineStartOf(size_t offset) const {
  const size_t lineFeed = std::string_view(text_).substr(0, offset).rfind('\n');
  return lineFeed == std::string_view::npos ? 0 : lineFeed + 1;
}

// The number of the line that starts at start.
size_t TSchedule::LineNumberOf(size_t start) const {
  const size_t stride =
      static_cast<size_t>(std::upper_bound(strides_.begin(), strides_.end(), start) - strides_.begin()) - 1;
  size_t line = stride * kStride;
  for (size_t at = strides_[stride]; at < start; at = SpanAt(at).next) ++line;
  return line;
}

// The start of a line up to the 13 characters that place it in the sort
// order (its date and the second letter of its kind word), or up to its end.
std::string_view TSchedule::SortKeyAt(size_t start) const {
  constexpr size_t kSortKey = 13;
  const std::string_view head = std::string_view(text_).substr(start, kSortKey);
  // Most lines are longer: two words, overlapping, show no line end in it.
  if (head.size() == kSortKey &&
      (LineEndBytes(FirstEightBytes(head.data())) | LineEndBytes(FirstEightBytes(head.data() + 5))) == 0)
    return head;
  return head.substr(0, static_cast<size_t>(std::find_if(head.begin(), head.end(), IsLineEnd) - head.begin()));
}

// The first line of the sorted part for which notYet is false, notYet being
// true for every line before it; or sortedEnd_. Halves the strides, then the
// bytes between two of them, then goes line by line.
template <typename NotYet>
size_t TSchedule::FirstSortedWhere(NotYet notYet) const {
  const auto stride = std::partition_point(strides_.begin(), strides_.end(),
                                           [&](size_t start) { return start < sortedEnd_ && notYet(start); });
  size_t low = stride == strides_.begin() ? 0 : *(stride - 1);
  size_t high = stride == strides_.end() ? sortedEnd_ : std::min(*stride, sortedEnd_);
  constexpr size_t kFewLines = 64;
  while (high - low > kFewLines) {
    const size_t middle = NextLineFeed(text_, low + (high - low) / 2) + 1;  // a line start
    if (middle >= high) break;
    (notYet(middle) ? low : high) = middle;
  }
  while (low < high && notYet(low)) low = SpanAt(low).next;
  return low;
}

// The first line of the sorted part whose date text does not sort before
// date, or sortedEnd_.
size_t TSchedule::FirstSortedFrom(std::string_view date) const {
  if (date.size() != kDateLength)
    return FirstSortedWhere([&](size_t start) { return CompareBytes(DateOf(SortKeyAt(start)), date) < 0; });
  const SortKey dateKey = SortKeyOf(date, 0);
  return FirstSortedWhere([&](size_t start) {
    const std::string_view head = SortKeyAt(start);
    return head.size() >= kDateLength ? SortKeyOf(head, 0) < dateKey : CompareBytes(head, date) < 0;
  });
}

// The first line of the sorted part that line sorts before, or sortedEnd_.
size_t TSchedule::FirstSortedAfter(std::string_view line) const {
  return FirstSortedWhere([&](size_t start) { return !SortsBefore(line, SortKeyAt(start)); });
}

// The offset of the first occurrence of key in the text, or kNotFound. Lines
// never hold a line end, so a key with one (or an empty key) is never found.
size_t TSchedule::FindFirst(std::string_view key) const {
  IndexWhenAsked();
  if (key.empty() || HoldsLineEnd(key)) return kNotFound;
  const auto date = LeadingDate(key);
  if (!date) {
    const size_t found = text_.find(key);
    return found == std::string::npos ? kNotFound : found;
  }

  size_t first = kNotFound;
  // In the sorted part the lines that start with the date stand together.
  for (size_t start = FirstSortedFrom(DateOf(key)); start < sortedEnd_;) {
    const Span span = SpanAt(start);
    const std::string_view line = TextOf(span);
    if (DateOf(line) != DateOf(key)) break;
    if (const size_t at = line.find(key); at != std::string_view::npos) {
      first = start + at;
      break;
    }
    start = span.next;
  }
  // The marks of the date: of the key's kind word when it is a date and a
  // kind word, else of every kind, where the key may go on past the date text.
  const int keyKind = KindIndex(key.substr(std::min(key.size(), kDateLength + 1)));
  const bool eventKey = key.size() > kDateLength && key[kDateLength] == ',' && keyKind >= 0;
  const bool whole = eventKey || key.size() == kDateLength;
  for (int kind = eventKey ? keyKind : 0; kind <= (eventKey ? keyKind : kOtherWord); ++kind) {
    const auto end = std::lower_bound(marks_.begin(), marks_.end(), MarkOf(*date, kind + 1, 0));
    for (auto it = std::lower_bound(marks_.begin(), marks_.end(), MarkOf(*date, kind, 0));
         it != end && OffsetOf(*it) < first; ++it) {
      if (whole || text_.compare(OffsetOf(*it), key.size(), key) == 0) {
        first = OffsetOf(*it);
        break;
      }
    }
  }
  return first;
}

// Adds or removes the marks of the date texts in a line.
void TSchedule::MarkLine(const Span& span, bool add) {
  const std::string_view line = TextOf(span);
  ForEachDateText(line, span.start, [&](size_t offset, uint32_t date) {
    if (offset == span.start && span.start < sortedEnd_) return;  // found by binary search instead
    const uint64_t mark = MarkOf(date, KindAfterDate(line.substr(offset - span.start)), offset);
    const auto place = std::lower_bound(marks_.begin(), marks_.end(), mark);
    if (add)
      marks_.insert(place, mark);
    else if (place != marks_.end() && *place == mark)
      marks_.erase(place);
  });
}

// The sorted part ends at the line that starts at start; the date texts at the
// start of the lines after it, up to the old end, become marks. The caller
// marks that line itself.
void TSchedule::ReleaseSortedFrom(size_t start) {
  std::vector<uint64_t> released;
  for (size_t at = SpanAt(start).next; at < sortedEnd_;) {
    const Span span = SpanAt(at);
    const std::string_view line = TextOf(span);
    if (const auto date = LeadingDate(line)) released.push_back(MarkOf(*date, KindAfterDate(line), at));
    at = span.next;
  }
  sortedEnd_ = start;
  std::sort(released.begin(), released.end());
  const auto middle = marks_.insert(marks_.end(), released.begin(), released.end());
  std::inplace_merge(marks_.begin(), middle, marks_.end());
}

// Moves the marks at or after offset from by delta bytes, which wraps for a
// move down; their order stays.
void TSchedule::ShiftMarks(size_t from, size_t delta) {
  for (uint64_t& mark : marks_)
    if (OffsetOf(mark) >= from) mark += delta;
}

void TSchedule::AppendLine(const std::string& line) {
  const size_t needed = text_.size() + line.size() + 4;
  if (text_.capacity() < needed) {
    // The room left at load is used up; an eighth more leaves room for many
    // lines, where doubling would hold twice the file.
    std::string grown;
    grown.reserve(needed + needed / 8);
    grown.append(text_);
    text_.swap(grown);
  }
  if (!text_.empty() && text_.back() != '\n') {
    // The last line gets its line end first.
    if (sortedEnd_ == text_.size()) sortedEnd_ += 2;
    text_ += "\r\n";
  }
  const size_t start = text_.size();
  const bool staysSorted =
      sortedEnd_ == start && (start == 0 || !SortsBefore(line, TextOf(SpanAt(LineStartOf(start - 1)))));
  if (count_ % kStride == 0) strides_.push_back(start);
  ++count_;
  text_.append(line).append("\r\n");
  if (staysSorted) sortedEnd_ = text_.size();
  MarkLine(SpanAt(start), true);
}

// Replaces the count characters at offset at, within the line of span, by
// replacement; the line stays in its place.
void TSchedule::ChangeWithinLine(const Span& span, size_t at, size_t count, std::string_view replacement) {
  MarkLine(span, false);
  if (replacement.size() == count) {
    std::memcpy(text_.data() + at, replacement.data(), count);
  } else {
    const size_t delta = replacement.size() - count;  // wraps when the line gets shorter
    text_.replace(at, count, replacement);
    ShiftMarks(span.end, delta);
    for (size_t& stride : strides_)
      if (stride > span.start) stride += delta;
    if (sortedEnd_ > span.start) sortedEnd_ += delta;
  }
  cursorLine_ = cursorStart_ = 0;
  const Span changed = SpanAt(span.start);
  constexpr size_t kSortedBy = 13;  // the date and the kind word's second letter
  if (changed.start < sortedEnd_ && at < changed.start + kSortedBy) {
    // A change near the start of a line (from an odd date text) can move it out of order.
    const bool afterPrevious =
        changed.start == 0 || !SortsBefore(TextOf(changed), TextOf(SpanAt(LineStartOf(changed.start - 1))));
    const bool beforeNext =
        changed.next >= sortedEnd_ || !SortsBefore(TextOf(SpanAt(changed.next)), TextOf(changed));
    if (!afterPrevious || !beforeNext) ReleaseSortedFrom(changed.start);
  }
  MarkLine(changed, true);
}

// Removes the line that starts at start, with its line end.
void TSchedule::EraseLine(size_t start) {
  const Span span = SpanAt(start);
  MarkLine(span, false);
  const size_t removed = span.next - start;
  if (span.next > span.end && text_[span.end] == '\n') --lineFeedsAlone_;
  // From the removed line on, each stride line is the line after it.
  const size_t line = LineNumberOf(start);
  for (size_t stride = line / kStride + (line % kStride != 0); stride < strides_.size(); ++stride)
    strides_[stride] = SpanAt(strides_[stride]).next - removed;
  --count_;
  strides_.resize((count_ + kStride - 1) / kStride);
  text_.erase(start, removed);
  ShiftMarks(span.next, 0 - removed);
  if (sortedEnd_ > start) sortedEnd_ -= removed;
  cursorLine_ = cursorStart_ = 0;
}

// True when the text is the store text: every line followed by CR LF.
bool TSchedule::InStoreForm() const {
  return lineFeedsAlone_ == 0 && (text_.empty() || text_.back() == '\n');
}
