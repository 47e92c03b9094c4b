#include "schedule/TSchedule.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "platform/FileSystem.h"
#include "util/AppError.h"

namespace {

constexpr std::string_view kKinds[] = {"SHUTDOWN", "STARTUP", "TESTUPS"};
constexpr int kKindCount = 3;
constexpr size_t kDateLength = 10;   // "yyyy/mm/dd"
constexpr size_t kTimeAndFlag = 7;   // "HH:MM,F"

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool HoldsLineEnd(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

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

uint32_t EventCode(uint32_t date, int kind) { return date * 4 + static_cast<uint32_t>(kind); }

// The code of a line in the exact form "yyyy/mm/dd,KIND,HH:MM,F" (digits where
// digits stand, F "0" or "1"). Such a line holds one '/' pair and one kind word
// and nothing else but digits, commas and a colon, so a date key or an event
// key can occur in it only at its start.
std::optional<uint32_t> EventLineCode(std::string_view line) {
  const auto date = LeadingDate(line);
  if (!date || line.size() <= kDateLength || line[kDateLength] != ',') return std::nullopt;
  for (int kind = 0; kind < kKindCount; ++kind) {
    const std::string_view word = kKinds[kind];
    if (line.substr(kDateLength + 1, word.size()) != word) continue;
    const std::string_view rest = line.substr(kDateLength + 1 + word.size());
    const bool wellFormed = rest.size() == 1 + kTimeAndFlag && rest[0] == ',' && IsDigit(rest[1]) &&
                            IsDigit(rest[2]) && rest[3] == ':' && IsDigit(rest[4]) && IsDigit(rest[5]) &&
                            rest[6] == ',' && (rest[7] == '0' || rest[7] == '1');
    if (!wellFormed) return std::nullopt;
    return EventCode(*date, kind);
  }
  return std::nullopt;
}

// CR LF, a lone CR and a lone LF each end a line; a last line without an end still counts.
std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(bytes, start, i - start);
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.emplace_back(bytes, start);
  return lines;
}

// Order of lines of one date: lines too short to name a kind first, then
// SHUTDOWN, STARTUP, any other letter, and TESTUPS last (its second letter 'E'
// goes after every other one).
int KindRank(const std::string& line) {
  constexpr size_t kSecondLetterOfKind = 12;
  if (line.size() <= kSecondLetterOfKind) return 0;
  switch (line[kSecondLetterOfKind]) {
    case 'H': return 1;
    case 'T': return 2;
    case 'E': return 4;
    default: return 3;
  }
}

bool SortsBefore(const std::string& a, const std::string& b) {
  // string_view compares bytes as unsigned characters; a shorter date is a prefix and sorts first.
  const int byDate = std::string_view(a).substr(0, kDateLength).compare(std::string_view(b).substr(0, kDateLength));
  if (byDate != 0) return byDate < 0;
  return KindRank(a) < KindRank(b);
}

}  // namespace

void TSchedule::Clear() {
  entries_.clear();
  ids_.clear();
  eventLines_.clear();
  otherLines_.clear();
  nextId_ = 0;
}

void TSchedule::LoadSchedule() {
  if (!fs_seam::FileExists(FilePath)) return;
  std::string bytes;
  try {
    bytes = fs_seam::ReadWholeFile(FilePath);
  } catch (const fs_seam::FileError&) {
    throw AppError(FormatMessageText("Cannot open file %s", FilePath));
  }
  entries_ = SplitLines(bytes);
  RebuildIndex();
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
    entries_.push_back(key + "," + timeAndFlag);
    ids_.push_back(nextId_++);
    AddToIndex(entries_.size() - 1);
    return;
  }
  // Change time and flag within this line only, even when it is too short to hold them.
  RemoveFromIndex(position);
  std::string& line = entries_[position];
  size_t at = line.find(key) + key.size();
  if (at == line.size()) line += ',';
  ++at;  // past the comma after the key
  line.replace(at, std::min(kTimeAndFlag, line.size() - at), timeAndFlag);
  AddToIndex(position);
}

bool TSchedule::DeleteEvent(const std::string& key) {
  const size_t position = FindFirst(key);
  if (position == kNotFound) return false;
  RemoveFromIndex(position);
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
  ids_.erase(ids_.begin() + static_cast<std::ptrdiff_t>(position));
  return true;
}

void TSchedule::SortSchedule() {
  if (std::is_sorted(entries_.begin(), entries_.end(), SortsBefore)) return;
  std::stable_sort(entries_.begin(), entries_.end(), SortsBefore);
  RebuildIndex();
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

bool TSchedule::Holds(const std::string& key) const { return FindFirst(key) != kNotFound; }

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
  for (int kind = firstKind; kind <= lastKind; ++kind) {
    const auto [begin, end] = eventLines_.equal_range(EventCode(*date, kind));
    for (auto it = begin; it != end; ++it) first = std::min(first, it->second);
  }
  for (uint64_t id : otherLines_) {
    if (id > first) break;
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

void TSchedule::AddToIndex(size_t position) {
  const uint64_t id = ids_[position];
  if (const auto code = EventLineCode(entries_[position])) {
    eventLines_.emplace(*code, id);
  } else {
    otherLines_.insert(std::upper_bound(otherLines_.begin(), otherLines_.end(), id), id);
  }
}

void TSchedule::RemoveFromIndex(size_t position) {
  const uint64_t id = ids_[position];
  if (const auto code = EventLineCode(entries_[position])) {
    const auto [begin, end] = eventLines_.equal_range(*code);
    const auto it = std::find_if(begin, end, [id](const auto& entry) { return entry.second == id; });
    if (it != end) eventLines_.erase(it);
  } else {
    const auto it = std::lower_bound(otherLines_.begin(), otherLines_.end(), id);
    if (it != otherLines_.end() && *it == id) otherLines_.erase(it);
  }
}

void TSchedule::RebuildIndex() {
  ids_.resize(entries_.size());
  for (size_t i = 0; i < ids_.size(); ++i) ids_[i] = i;
  nextId_ = ids_.size();
  eventLines_.clear();
  eventLines_.reserve(entries_.size());
  otherLines_.clear();
  for (size_t i = 0; i < entries_.size(); ++i) AddToIndex(i);
}
