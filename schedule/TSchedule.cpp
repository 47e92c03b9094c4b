#include "schedule/TSchedule.h"

#include <algorithm>
#include <cstring>

#include "platform/FileSystem.h"
#include "schedule/ScheduleBytes.h"
#include "util/AppError.h"

// The store's operations. How lines, date texts and kind words are read from
// the bytes is in ScheduleBytes.h; the line index, the sorted part and the
// marks that make searches fast, and the changes that keep them, are in
// TScheduleIndex.cpp.

using namespace schedule_bytes;

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
  std::string bytes;
  try {
    // Room for the lines a session adds (some two thousand), so that adding
    // the first does not copy the whole file to a larger block.
    constexpr size_t kRoomToAdd = 64 * 1024;
    bytes = fs_seam::ReadWholeFile(FilePath, kRoomToAdd);
  } catch (const fs_seam::FileNotFound&) {
    return;  // no schedule yet: the store stays as it is
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
  const Span span = LineAt(text_, LineStartOf(found));
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
    const Span span = LineAt(later, start);
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
    const Span span = LineAt(text_, start);
    text.append(TextOf(text_, span)).append("\r\n");
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
  const size_t end = LineAt(text_, LineStartOf(found)).end;
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
    const Span span = LineAt(text_, start);
    const std::string_view line = TextOf(text_, span);
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
    const Span span = LineAt(text_, start);
    const std::string_view line = TextOf(text_, span);
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

// True when the text is the store text: every line followed by CR LF.
bool TSchedule::InStoreForm() const {
  return lineFeedsAlone_ == 0 && (text_.empty() || text_.back() == '\n');
}
