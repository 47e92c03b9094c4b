#include "schedule/TSchedule.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "platform/FileSystem.h"
#include "util/AppError.h"

namespace {

constexpr std::string_view kKinds[] = {"SHUTDOWN", "STARTUP", "TESTUPS"};
constexpr int kKindCount = 3;
constexpr size_t kDateLength = 10;  // "yyyy/mm/dd"
constexpr size_t kTimeAndFlag = 7;  // "HH:MM,F"

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool HoldsLineEnd(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

int KindIndex(std::string_view word) {
  for (int kind = 0; kind < kKindCount; ++kind)
    if (word == kKinds[kind]) return kind;
  return -1;
}

// The date "dddd/dd/dd" at the start of text as the number yyyymmdd.
std::optional<uint32_t> LeadingDate(std::string_view text) {
  if (text.size() < kDateLength || text[4] != '/' || text[7] != '/') return std::nullopt;
  uint32_t number = 0;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (!IsDigit(text[i])) return std::nullopt;
    number = number * 10 + static_cast<uint32_t>(text[i] - '0');
  }
  return number;
}

uint32_t EventCode(uint32_t date, int kind) {
  return date * 4 + static_cast<uint32_t>(kind);
}

// The code of a line in the exact form "yyyy/mm/dd,KIND,HH:MM,F" (digits where
// digits stand, F "0" or "1"). Such a line holds one '/' pair and one kind word
// and nothing else but digits, commas and a colon, so a date key or an event
// key can occur in it only at its start.
std::optional<uint32_t> EventLineCode(std::string_view line) {
  // The length tells the kind word: SHUTDOWN has 8 letters, the others 7.
  int kind = -1;
  if (line.size() == 27) {
    kind = 0;
  } else if (line.size() == 26) {
    kind = line[kDateLength + 1] == 'S' ? 1 : 2;
  } else {
    return std::nullopt;
  }
  const std::string_view word = kKinds[kind];
  const auto date = LeadingDate(line);
  if (!date || line[kDateLength] != ',' || line.substr(kDateLength + 1, word.size()) != word)
    return std::nullopt;
  const std::string_view rest = line.substr(kDateLength + 1 + word.size());  // ",HH:MM,F"
  const bool wellFormed = rest[0] == ',' && IsDigit(rest[1]) && IsDigit(rest[2]) && rest[3] == ':' &&
                          IsDigit(rest[4]) && IsDigit(rest[5]) && rest[6] == ',' &&
                          (rest[7] == '0' || rest[7] == '1');
  if (!wellFormed) return std::nullopt;
  return EventCode(*date, kind);
}

// Hands each line of bytes to take. CR LF, a lone CR and a lone LF each end a
// line; a last line without an end still counts.
template <typename TakeLine>
void ForEachLine(std::string_view bytes, TakeLine take) {
  size_t start = 0;
  size_t lineFeed = std::min(bytes.find('\n'), bytes.size());
  while (start < bytes.size()) {
    if (lineFeed < start) lineFeed = std::min(bytes.find('\n', start), bytes.size());
    const std::string_view segment = bytes.substr(start, lineFeed - start);
    const size_t carriageReturn = segment.find('\r');
    if (carriageReturn == std::string_view::npos) {
      take(segment);
      start = lineFeed + 1;
    } else {
      take(segment.substr(0, carriageReturn));
      start += carriageReturn + 1;
      if (start == lineFeed) ++start;  // CR LF is one line end
    }
  }
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

std::string_view DateOf(std::string_view line) {
  return line.substr(0, kDateLength);
}

bool SortsBefore(std::string_view a, std::string_view b) {
  // string_view compares bytes as unsigned characters; a shorter date is a prefix and sorts first.
  const int byDate = DateOf(a).compare(DateOf(b));
  if (byDate != 0) return byDate < 0;
  return KindRank(a) < KindRank(b);
}

}  // namespace

void TSchedule::Clear() {
  entries_.clear();
  ids_.clear();
  nextId_ = 0;
  sortedCount_ = 0;
  tailEvents_.clear();
  otherLines_.clear();
}

void TSchedule::LoadSchedule() {
  if (!fs_seam::FileExists(FilePath)) return;
  std::string bytes;
  try {
    bytes = fs_seam::ReadWholeFile(FilePath);
  } catch (const fs_seam::FileError&) {
    throw AppError(FormatMessageText("Cannot open file %s", FilePath));
  }
  Clear();
  ForEachLine(bytes, [this](std::string_view line) { AppendLine(line); });
}

void TSchedule::SaveSchedule() {
  SortSchedule();
  try {
    fs_seam::WriteFileAtomically(FilePath, StoreText());
  } catch (const fs_seam::FileError&) {
    throw AppError(FormatMessageText("Cannot create file %s", FilePath));
  }
}

void TSchedule::SetEvent(const std::string& date, const std::string& time, bool warning) {
  if (KindIndex(Kind) < 0) return;
  // A line end in either text would split the event into two lines.
  if (HoldsLineEnd(date) || HoldsLineEnd(time)) return;
  const std::string key = date + "," + Kind;
  const std::string timeAndFlag = time + (warning ? ",1" : ",0");
  const size_t position = FindFirst(key);
  if (position == kNotFound) {
    AppendLine(key + "," + timeAndFlag);
  } else {
    ChangeLine(position, key, timeAndFlag);
  }
}

bool TSchedule::DeleteEvent(const std::string& key) {
  const size_t position = FindFirst(key);
  if (position == kNotFound) return false;
  EraseLine(position);
  return true;
}

void TSchedule::SortSchedule() {
  const size_t count = entries_.size();
  if (sortedCount_ == count) return;
  const auto begin = entries_.begin();
  const auto sortedEnd = begin + static_cast<std::ptrdiff_t>(sortedCount_);
  // Lines of the sorted part up to the place of the lowest later line keep
  // their places; from there on the lines are merged and numbered anew.
  const auto lowest = std::min_element(sortedEnd, entries_.end(), SortsBefore);
  const size_t firstMoved =
      static_cast<size_t>(std::upper_bound(begin, sortedEnd, *lowest, SortsBefore) - begin);
  tailEvents_.clear();
  const auto movedOthers = std::lower_bound(otherLines_.begin(), otherLines_.end(), ids_[firstMoved]);
  const bool othersMoved = movedOthers != otherLines_.end();
  otherLines_.erase(movedOthers, otherLines_.end());

  std::stable_sort(sortedEnd, entries_.end(), SortsBefore);
  std::inplace_merge(begin + static_cast<std::ptrdiff_t>(firstMoved), sortedEnd, entries_.end(), SortsBefore);

  for (size_t i = firstMoved; i < count; ++i) {
    ids_[i] = nextId_++;
    // Lines not in event form are listed again; usually none moved, and none need looking at.
    if (othersMoved && !EventLineCode(entries_[i])) otherLines_.push_back(ids_[i]);
  }
  sortedCount_ = count;
}

std::string TSchedule::StoreText() const {
  size_t size = 0;
  for (const std::string& line : entries_) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : entries_) {
    text += line;
    text += "\r\n";
  }
  return text;
}

bool TSchedule::Holds(const std::string& key) const {
  return FindFirst(key) != kNotFound;
}

std::string TSchedule::EventTime(const std::string& date, const std::string& kind) const {
  const std::string key = date + "," + kind;
  const size_t position = FindFirst(key);
  if (position == kNotFound) return "";
  const std::string& line = entries_[position];
  const size_t at = line.find(key) + key.size() + 1;
  if (at >= line.size()) return "";
  return line.substr(at, 5);
}

// The place of the first line that holds key as text. Lines never hold a line
// end, so a key with one (or an empty key) is never found.
size_t TSchedule::FindFirst(std::string_view key) const {
  if (key.empty() || HoldsLineEnd(key)) return kNotFound;

  const auto date = LeadingDate(key);
  int firstKind = 0, lastKind = -1;
  if (date && key.size() == kDateLength) {
    lastKind = kKindCount - 1;  // a date alone finds a line of any kind
  } else if (date && key.size() > kDateLength && key[kDateLength] == ',') {
    firstKind = lastKind = KindIndex(key.substr(kDateLength + 1));
  }
  if (lastKind < 0) {
    // Not a date or event key: search every line.
    for (size_t i = 0; i < entries_.size(); ++i)
      if (entries_[i].find(key) != std::string::npos) return i;
    return kNotFound;
  }

  uint64_t first = std::numeric_limits<uint64_t>::max();
  // In the sorted part the lines of the date stand together.
  const auto sortedEnd = entries_.begin() + static_cast<std::ptrdiff_t>(sortedCount_);
  const auto run =
      std::lower_bound(entries_.begin(), sortedEnd, DateOf(key),
                       [](const std::string& line, std::string_view d) { return DateOf(line) < d; });
  for (auto it = run; it != sortedEnd && DateOf(*it) == DateOf(key); ++it) {
    if (it->find(key) != std::string::npos) {
      first = ids_[static_cast<size_t>(it - entries_.begin())];
      break;
    }
  }
  for (int kind = firstKind; kind <= lastKind; ++kind) {
    const auto [begin, end] = tailEvents_.equal_range(EventCode(*date, kind));
    for (auto it = begin; it != end; ++it) first = std::min(first, it->second);
  }
  for (uint64_t id : otherLines_) {
    if (id >= first) break;
    if (entries_[PositionOf(id)].find(key) != std::string::npos) {
      first = id;
      break;
    }
  }
  return first == std::numeric_limits<uint64_t>::max() ? kNotFound : PositionOf(first);
}

size_t TSchedule::PositionOf(uint64_t id) const {
  return static_cast<size_t>(std::lower_bound(ids_.begin(), ids_.end(), id) - ids_.begin());
}

void TSchedule::AppendLine(std::string_view line) {
  const uint64_t id = nextId_++;
  const auto code = EventLineCode(line);
  if (!code) otherLines_.push_back(id);
  // A line that sorts last extends the sorted part and needs no entry of its own.
  const bool staysSorted =
      sortedCount_ == entries_.size() && (entries_.empty() || !SortsBefore(line, entries_.back()));
  if (staysSorted) {
    ++sortedCount_;
  } else if (code) {
    tailEvents_.emplace(*code, id);
  }
  entries_.emplace_back(line);
  ids_.push_back(id);
}

void TSchedule::EraseLine(size_t position) {
  const uint64_t id = ids_[position];
  if (const auto code = EventLineCode(entries_[position])) {
    if (position >= sortedCount_) {
      const auto [begin, end] = tailEvents_.equal_range(*code);
      const auto it = std::find_if(begin, end, [id](const auto& entry) { return entry.second == id; });
      if (it != end) tailEvents_.erase(it);
    }
  } else {
    otherLines_.erase(std::lower_bound(otherLines_.begin(), otherLines_.end(), id));
  }
  if (position < sortedCount_) --sortedCount_;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
  ids_.erase(ids_.begin() + static_cast<std::ptrdiff_t>(position));
}

// Changes time and flag within this line only, even when it is too short to hold them.
void TSchedule::ChangeLine(size_t position, const std::string& key, const std::string& timeAndFlag) {
  std::string& line = entries_[position];
  const uint64_t id = ids_[position];
  const auto oldCode = EventLineCode(line);

  size_t at = line.find(key) + key.size();
  if (at == line.size()) line += ',';
  ++at;  // past the comma after the key
  line.replace(at, std::min(kTimeAndFlag, line.size() - at), timeAndFlag);

  const auto newCode = EventLineCode(line);
  if (oldCode != newCode) {
    if (position >= sortedCount_ && oldCode) {
      const auto [begin, end] = tailEvents_.equal_range(*oldCode);
      tailEvents_.erase(std::find_if(begin, end, [id](const auto& entry) { return entry.second == id; }));
    }
    if (position >= sortedCount_ && newCode) tailEvents_.emplace(*newCode, id);
    const auto other = std::lower_bound(otherLines_.begin(), otherLines_.end(), id);
    if (!oldCode) otherLines_.erase(other);
    if (!newCode) otherLines_.insert(other, id);
  }
  // A change near the start of a line (from an odd date text) can move it out of order.
  const bool inOrder = position >= sortedCount_ ||
                       ((position == 0 || !SortsBefore(line, entries_[position - 1])) &&
                        (position + 1 == sortedCount_ || !SortsBefore(entries_[position + 1], line)));
  if (!inOrder) ReleaseSortedFrom(position);
}

// The sorted part ends before position; the lines from there on join the tail.
void TSchedule::ReleaseSortedFrom(size_t position) {
  for (size_t i = position; i < sortedCount_; ++i)
    if (const auto code = EventLineCode(entries_[i])) tailEvents_.emplace(*code, ids_[i]);
  sortedCount_ = position;
}
