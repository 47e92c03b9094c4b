#include "schedule/TSchedule.h"

#include <algorithm>
#include <cstring>

#include "platform/FileSystem.h"
#include "util/AppError.h"

// The store's operations on its text. The rules of its lines are in
// ScheduleOrder.h; the index that finds lines and keys fast is told of every
// change (LineIndex.h).

using namespace schedule_bytes;
using namespace schedule_order;

namespace {
constexpr size_t kNotFound = LineIndex::kNotFound;
}  // namespace

void TSchedule::Clear() {
  text_.clear();
  lineFeedsAlone_ = 0;
  index_.Clear();
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
  // No schedule comes near the longest text the index takes.
  if (bytes.size() > LineIndex::kLongestText)
    throw AppError(FormatMessageText("Cannot open file %s", FilePath));
  text_ = std::move(bytes);
  lineFeedsAlone_ = index_.Build(text_);
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
  if (!KindOfWord(Kind)) return;
  // A line end in either text would split the event into two lines.
  if (HoldsLineEnd(date) || HoldsLineEnd(time)) return;
  // The whole line in one string: the key, a comma, time and flag.
  std::string line;
  line.reserve(date.size() + Kind.size() + time.size() + 4);
  line.append(date).append(",").append(Kind).append(",").append(time).append(warning ? ",1" : ",0");
  const std::string_view key = std::string_view(line).substr(0, date.size() + 1 + Kind.size());
  const std::string_view commaAndTimeAndFlag = std::string_view(line).substr(key.size());
  const size_t found = index_.Find(text_, key);
  if (found == kNotFound) {
    AppendLine(line);
    return;
  }
  // Time and flag change within this line only, even when it is too short to
  // hold them: the character after the key stays (a comma goes in when there
  // is none), and the 7 after it give way.
  const Span span = LineAt(text_, LineStartOf(text_, found));
  const size_t keyEnd = found + key.size();
  if (keyEnd == span.end)
    ChangeWithinLine(span, keyEnd, 0, commaAndTimeAndFlag);
  else
    ChangeWithinLine(span, keyEnd + 1, std::min(kTimeAndFlag, span.end - keyEnd - 1),
                     commaAndTimeAndFlag.substr(1));
}

bool TSchedule::DeleteEvent(const std::string& key) {
  const size_t found = index_.Find(text_, key);
  if (found == kNotFound) return false;
  EraseLine(LineStartOf(text_, found));
  return true;
}

void TSchedule::SortSchedule() {
  if (index_.AllSorted(text_)) return;
  if (lineFeedsAlone_ > 0) {
    // Every line end becomes CR LF first, so that lines keep their lengths below.
    text_ = StoreText();
    lineFeedsAlone_ = index_.Build(text_);
    if (index_.AllSorted(text_)) return;
  }
  const size_t sortedEnd = index_.SortedEnd();
  // The lines from the sorted end on, sorted, each go in after the sorted lines
  // that do not sort after it (a stable merge), within the text: from its
  // end backwards, each run of sorted lines moves up to its place, and the
  // line before it goes in below.
  const std::string later = text_.substr(sortedEnd);
  std::vector<std::string_view> lines;
  for (size_t start = 0; start < later.size();) {
    const Span span = LineAt(later, start);
    lines.push_back(std::string_view(later).substr(start, span.end - start));
    start = span.next;
  }
  std::stable_sort(lines.begin(), lines.end(), SortsBefore);
  std::vector<size_t> places;
  size_t size = sortedEnd;
  for (const std::string_view line : lines) {
    places.push_back(index_.SortedPlaceOf(text_, line));
    size += line.size() + 2;
  }
  size_t from = sortedEnd;
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
  // The lines' count and line ends are as before.
  index_.Sorted(text_, index_.Count());
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
  return index_.Find(text_, key) != kNotFound;
}

std::optional<std::string> TSchedule::EventTime(const std::string& date, const std::string& kind) const {
  const std::string key = date + "," + kind;
  const size_t found = index_.Find(text_, key);
  if (found == kNotFound) return std::nullopt;
  const size_t end = LineAt(text_, LineStartOf(text_, found)).end;
  const size_t at = found + key.size() + 1;
  if (at >= end) return "";
  return text_.substr(at, std::min<size_t>(5, end - at));
}

TSchedule::MonthEvents TSchedule::EventsOfMonth(const std::string& monthPrefix) const {
  return index_.EventsOfMonth(text_, monthPrefix);
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
  const bool wasSorted = index_.AllSorted(text_);
  text_.resize(kept);
  if (wasSorted)
    index_.Sorted(text_, index_.Count() - removedDates.size());  // sorted lines stay sorted when some go
  else
    lineFeedsAlone_ = index_.Build(text_);
  return removedDates;
}

void TSchedule::AppendLine(const std::string& line) {
  const size_t oldEnd = text_.size();
  const size_t needed = oldEnd + line.size() + 4;
  if (text_.capacity() < needed) {
    // The room left at load is used up; an eighth more leaves room for many
    // lines, where doubling would hold twice the file.
    std::string grown;
    grown.reserve(needed + needed / 8);
    grown.append(text_);
    text_.swap(grown);
  }
  if (!text_.empty() && text_.back() != '\n') text_ += "\r\n";  // the last line gets its line end first
  const size_t start = text_.size();
  text_.append(line).append("\r\n");
  index_.Appended(text_, oldEnd, start);
}

// Replaces the count characters at offset at, within the line of span, by
// replacement; the line stays in its place.
void TSchedule::ChangeWithinLine(const Span& span, size_t at, size_t count, std::string_view replacement) {
  index_.Changing(text_, span);
  if (replacement.size() == count)
    std::memcpy(text_.data() + at, replacement.data(), count);
  else
    text_.replace(at, count, replacement);
  index_.Changed(text_, span, at, replacement.size() - count);  // wraps when the line gets shorter
}

// Removes the line that starts at start, with its line end.
void TSchedule::EraseLine(size_t start) {
  const Span span = LineAt(text_, start);
  if (span.next > span.end && text_[span.end] == '\n') --lineFeedsAlone_;
  index_.Erasing(text_, start);
  text_.erase(start, span.next - start);
}

// True when the text is the store text: every line followed by CR LF.
bool TSchedule::InStoreForm() const {
  return lineFeedsAlone_ == 0 && (text_.empty() || text_.back() == '\n');
}
