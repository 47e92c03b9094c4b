#include "schedule/TSchedule.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

#include "platform/FileSystem.h"
#include "util/AppError.h"

namespace {

constexpr std::string_view kKinds[] = {TSchedule::kKindWords[0], TSchedule::kKindWords[1],
                                       TSchedule::kKindWords[2]};
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

// True when one of the 8 bytes of word is below 14, so that it may be a CR
// (13) or an LF (10): the classic test for a zero byte, shifted by 14.
bool MayHoldLineEnd(uint64_t word) {
  constexpr uint64_t kEachByte = 0x0101010101010101;
  return ((word - kEachByte * 14) & ~word & kEachByte * 0x80) != 0;
}

// Hands each line of bytes to take. CR LF, a lone CR and a lone LF each end a
// line; a last line without an end still counts. Bytes are looked at 8 at a
// time until a line end may be among them: measured faster than a search per
// line, above all under Wine.
template <typename TakeLine>
void ForEachLine(std::string_view bytes, TakeLine take) {
  size_t start = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    uint64_t word = 0;
    if (i + sizeof word <= bytes.size()) {
      std::memcpy(&word, bytes.data() + i, sizeof word);
      if (!MayHoldLineEnd(word)) {
        i += sizeof word;
        continue;
      }
    }
    for (const size_t end = std::min(i + sizeof word, bytes.size()); i < end; ++i) {
      if (bytes[i] != '\r' && bytes[i] != '\n') continue;
      take(bytes.substr(start, i - start));
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;  // CR LF is one line end
      start = i + 1;
    }
  }
  if (start < bytes.size()) take(bytes.substr(start));
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
  loaded_.clear();
  edits_.clear();
  lines_.clear();
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
  loaded_ = std::move(bytes);
  // Event lines take 28 or 29 bytes with their CR LF: room for a file of
  // them at once, instead of growing step by step.
  lines_.reserve(loaded_.size() / 28 + 1);
  ForEachLine(loaded_, [this](std::string_view line) {
    AppendLine(static_cast<size_t>(line.data() - loaded_.data()), line.size());
  });
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
    const std::string line = key + "," + timeAndFlag;
    AppendLine(KeepEdit(line), line.size());
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
  const size_t count = lines_.size();
  if (sortedCount_ == count) return;
  const auto precedes = [this](const Entry& a, const Entry& b) { return Precedes(a, b); };
  const auto begin = lines_.begin();
  const auto sortedEnd = begin + static_cast<std::ptrdiff_t>(sortedCount_);
  // Lines of the sorted part up to the place of the lowest later line keep
  // their places; from there on the lines are merged and numbered anew.
  const auto lowest = std::min_element(sortedEnd, lines_.end(), precedes);
  const size_t firstMoved =
      static_cast<size_t>(std::upper_bound(begin, sortedEnd, *lowest, precedes) - begin);
  tailEvents_.clear();
  const auto movedOthers = std::lower_bound(otherLines_.begin(), otherLines_.end(), lines_[firstMoved].id);
  const bool othersMoved = movedOthers != otherLines_.end();
  otherLines_.erase(movedOthers, otherLines_.end());

  std::stable_sort(sortedEnd, lines_.end(), precedes);
  std::inplace_merge(begin + static_cast<std::ptrdiff_t>(firstMoved), sortedEnd, lines_.end(), precedes);
  sortedCount_ = count;

  for (size_t i = firstMoved; i < count; ++i) {
    lines_[i].id = nextId_++;
    // Lines not in event form are listed again; usually none moved, and none need looking at.
    if (othersMoved && !EventLineCode(Line(i))) otherLines_.push_back(lines_[i].id);
  }
}

std::string TSchedule::StoreText() const {
  size_t size = 0;
  for (const Entry& line : lines_) size += line.length + 2;
  std::string text;
  text.reserve(size);
  for (size_t first = 0; first < lines_.size();) {
    // Lines that still follow each other in the loaded file, as in a file
    // this program saved, are copied in one piece with the CR LFs between them.
    size_t last = first;
    while (last + 1 < lines_.size() && FollowsInLoaded(lines_[last], lines_[last + 1])) ++last;
    if (last == first) {
      text += Line(first);
    } else {
      const size_t start = lines_[first].offset;
      text.append(loaded_, start, lines_[last].offset + lines_[last].length - start);
    }
    text += "\r\n";
    first = last + 1;
  }
  return text;
}

bool TSchedule::Holds(const std::string& key) const {
  return FindFirst(key) != kNotFound;
}

std::optional<std::string> TSchedule::EventTime(const std::string& date, const std::string& kind) const {
  const std::string key = date + "," + kind;
  const size_t position = FindFirst(key);
  if (position == kNotFound) return std::nullopt;
  const std::string_view line = Line(position);
  const size_t at = line.find(key) + key.size() + 1;
  if (at >= line.size()) return "";
  return std::string(line.substr(at, 5));
}

TSchedule::MonthEvents TSchedule::EventsOfMonth(const std::string& monthPrefix) const {
  MonthEvents held{};
  const auto dayText = [](int day) {
    return std::string{static_cast<char>('0' + day / 10), static_cast<char>('0' + day % 10)};
  };
  const auto firstDate = LeadingDate(monthPrefix + "01");
  if (monthPrefix.size() != kDateLength - 2 || !firstDate) {
    // Not a date the index knows: one search per day and kind.
    for (int day = 1; day <= 31; ++day)
      for (int kind = 0; kind < kKindCount; ++kind)
        held[day - 1][kind] = Holds(monthPrefix + dayText(day) + "," + std::string(kKinds[kind]));
    return held;
  }

  // Event lines of the sorted part: the month's lines stand together.
  const auto sortedEnd = lines_.begin() + static_cast<std::ptrdiff_t>(sortedCount_);
  const std::string_view prefix = monthPrefix;
  auto it =
      std::lower_bound(lines_.begin(), sortedEnd, prefix,
                       [this](const Entry& line, std::string_view p) { return DateOf(View(line)) < p; });
  for (; it != sortedEnd && View(*it).starts_with(prefix); ++it) {
    const auto code = EventLineCode(View(*it));
    const uint32_t day = code ? *code / 4 % 100 : 0;
    if (day >= 1 && day <= 31) held[day - 1][*code % 4] = true;
  }
  // Event lines after it, by date and kind.
  for (int day = 1; day <= 31; ++day)
    for (int kind = 0; kind < kKindCount; ++kind)
      if (tailEvents_.count(EventCode(*firstDate - 1 + static_cast<uint32_t>(day), kind)) > 0)
        held[day - 1][kind] = true;
  // Every other line, as text: each place the month's date text starts.
  size_t position = 0;
  for (uint64_t id : otherLines_) {
    position = PositionOf(id, position);
    const std::string_view line = Line(position);
    for (size_t at = line.find(prefix); at != std::string_view::npos; at = line.find(prefix, at + 1)) {
      const std::string_view rest = line.substr(at + prefix.size());
      if (rest.size() < 3 || !IsDigit(rest[0]) || !IsDigit(rest[1]) || rest[2] != ',') continue;
      const int day = (rest[0] - '0') * 10 + (rest[1] - '0');
      if (day < 1 || day > 31) continue;
      for (int kind = 0; kind < kKindCount; ++kind)
        if (rest.substr(3).starts_with(kKinds[kind])) held[day - 1][kind] = true;
    }
  }
  return held;
}

std::vector<std::string> TSchedule::DeleteEventsOfKind(
    const std::string& kind, const std::function<bool(std::string_view date)>& remove) {
  std::vector<std::string> removedDates;
  if (kind.empty()) return removedDates;
  std::vector<uint64_t> removedIds;  // ascending, as ids are in store order
  size_t kept = 0;
  size_t removedFromSorted = 0;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const std::string_view line = Line(i);
    const bool ofKind = LeadingDate(line) && line.size() > kDateLength && line[kDateLength] == ',' &&
                        line.substr(kDateLength + 1).starts_with(kind);
    if (ofKind && remove(DateOf(line))) {
      removedDates.emplace_back(DateOf(line));
      removedIds.push_back(lines_[i].id);
      if (i < sortedCount_) ++removedFromSorted;
      continue;
    }
    lines_[kept++] = lines_[i];
  }
  if (removedIds.empty()) return removedDates;
  lines_.resize(kept);
  sortedCount_ -= removedFromSorted;

  const auto wasRemoved = [&removedIds](uint64_t id) {
    return std::binary_search(removedIds.begin(), removedIds.end(), id);
  };
  std::erase_if(otherLines_, wasRemoved);
  std::erase_if(tailEvents_, [&wasRemoved](const auto& entry) { return wasRemoved(entry.second); });
  return removedDates;
}

std::string_view TSchedule::View(const Entry& line) const {
  if (line.offset < loaded_.size()) return std::string_view(loaded_).substr(line.offset, line.length);
  return std::string_view(edits_).substr(line.offset - loaded_.size(), line.length);
}

bool TSchedule::Precedes(const Entry& a, const Entry& b) const {
  return SortsBefore(View(a), View(b));
}

// True when b's bytes come right after a's and a CR LF in loaded_.
bool TSchedule::FollowsInLoaded(const Entry& a, const Entry& b) const {
  const size_t end = a.offset + a.length;
  return b.offset == end + 2 && b.offset + b.length <= loaded_.size() && loaded_[end] == '\r' &&
         loaded_[end + 1] == '\n';
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
    for (size_t i = 0; i < lines_.size(); ++i)
      if (Line(i).find(key) != std::string_view::npos) return i;
    return kNotFound;
  }

  uint64_t first = std::numeric_limits<uint64_t>::max();
  // In the sorted part the lines of the date stand together.
  const auto sortedEnd = lines_.begin() + static_cast<std::ptrdiff_t>(sortedCount_);
  const auto run =
      std::lower_bound(lines_.begin(), sortedEnd, DateOf(key),
                       [this](const Entry& line, std::string_view d) { return DateOf(View(line)) < d; });
  for (auto it = run; it != sortedEnd && DateOf(View(*it)) == DateOf(key); ++it) {
    if (View(*it).find(key) != std::string_view::npos) {
      first = it->id;
      break;
    }
  }
  for (int kind = firstKind; kind <= lastKind; ++kind) {
    const auto [begin, end] = tailEvents_.equal_range(EventCode(*date, kind));
    for (auto it = begin; it != end; ++it) first = std::min(first, it->second);
  }
  size_t position = 0;
  for (uint64_t id : otherLines_) {
    if (id >= first) break;
    position = PositionOf(id, position);
    if (Line(position).find(key) != std::string_view::npos) return position;
  }
  return first == std::numeric_limits<uint64_t>::max() ? kNotFound : PositionOf(first);
}

size_t TSchedule::PositionOf(uint64_t id, size_t from) const {
  // Steps that double from `from` on, then a binary search within the last
  // step: cheap for a line near `from`, as when lines are visited in order.
  size_t low = from, step = 1;
  while (low + step < lines_.size() && lines_[low + step].id < id) {
    low += step;
    step *= 2;
  }
  const auto end = lines_.begin() + static_cast<std::ptrdiff_t>(std::min(low + step + 1, lines_.size()));
  const auto it = std::lower_bound(lines_.begin() + static_cast<std::ptrdiff_t>(low), end, id,
                                   [](const Entry& line, uint64_t wanted) { return line.id < wanted; });
  return static_cast<size_t>(it - lines_.begin());
}

// Puts the bytes of a new or changed line at the end of edits_; the result is their offset.
size_t TSchedule::KeepEdit(const std::string& line) {
  const size_t offset = loaded_.size() + edits_.size();
  edits_ += line;
  return offset;
}

// Adds the line whose bytes lie at offset at the end of the store.
void TSchedule::AppendLine(size_t offset, size_t length) {
  const Entry line{offset, length, nextId_++};
  const auto code = EventLineCode(View(line));
  if (!code) otherLines_.push_back(line.id);
  // A line that sorts last extends the sorted part and needs no entry of its own.
  const bool staysSorted =
      sortedCount_ == lines_.size() && (lines_.empty() || !Precedes(line, lines_.back()));
  if (staysSorted) {
    ++sortedCount_;
  } else if (code) {
    tailEvents_.emplace(*code, line.id);
  }
  lines_.push_back(line);
}

void TSchedule::EraseLine(size_t position) {
  const uint64_t id = lines_[position].id;
  if (const auto code = EventLineCode(Line(position))) {
    if (position >= sortedCount_) ForgetTailEvent(*code, id);
  } else {
    otherLines_.erase(std::lower_bound(otherLines_.begin(), otherLines_.end(), id));
  }
  if (position < sortedCount_) --sortedCount_;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(position));
}

// Changes time and flag within this line only, even when it is too short to hold them.
void TSchedule::ChangeLine(size_t position, const std::string& key, const std::string& timeAndFlag) {
  std::string line(Line(position));
  const uint64_t id = lines_[position].id;
  const auto oldCode = EventLineCode(line);

  size_t at = line.find(key) + key.size();
  if (at == line.size()) line += ',';
  ++at;  // past the comma after the key
  line.replace(at, std::min(kTimeAndFlag, line.size() - at), timeAndFlag);
  lines_[position].offset = KeepEdit(line);
  lines_[position].length = line.size();

  const auto newCode = EventLineCode(line);
  if (oldCode != newCode) {
    if (position >= sortedCount_ && oldCode) ForgetTailEvent(*oldCode, id);
    if (position >= sortedCount_ && newCode) tailEvents_.emplace(*newCode, id);
    const auto other = std::lower_bound(otherLines_.begin(), otherLines_.end(), id);
    if (!oldCode) otherLines_.erase(other);
    if (!newCode) otherLines_.insert(other, id);
  }
  // A change near the start of a line (from an odd date text) can move it out of order.
  const bool inOrder = position >= sortedCount_ ||
                       ((position == 0 || !Precedes(lines_[position], lines_[position - 1])) &&
                        (position + 1 == sortedCount_ || !Precedes(lines_[position + 1], lines_[position])));
  if (!inOrder) ReleaseSortedFrom(position);
}

void TSchedule::ForgetTailEvent(uint32_t code, uint64_t id) {
  const auto [begin, end] = tailEvents_.equal_range(code);
  const auto it = std::find_if(begin, end, [id](const auto& entry) { return entry.second == id; });
  if (it != end) tailEvents_.erase(it);
}

// The sorted part ends before position; the lines from there on join the tail.
void TSchedule::ReleaseSortedFrom(size_t position) {
  for (size_t i = position; i < sortedCount_; ++i)
    if (const auto code = EventLineCode(Line(i))) tailEvents_.emplace(*code, lines_[i].id);
  sortedCount_ = position;
}
