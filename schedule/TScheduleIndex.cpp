// The store's index: where each line starts (a stride of lines), how far the
// lines are in sort order, and the marks of the date texts elsewhere; found
// in one pass at load and kept up to date by each change of a line.
#include <algorithm>
#include <cstring>

#include "schedule/ScheduleBytes.h"
#include "schedule/TSchedule.h"

using namespace schedule_bytes;

namespace {

// Where the line that starts at start ends (at its CR or LF, or the end of
// the text); adds to marks the date texts within it but the one at its start.
// dated: the line starts with a date text.
size_t OtherLineEndMarkingDates(std::string_view text, size_t start, bool dated,
                                std::vector<uint64_t>& marks);

size_t LineEndMarkingDates(std::string_view text, size_t start, bool dated, std::vector<uint64_t>& marks) {
  // A line in the shape of an event holds no '/' to look at but its date's.
  int kind;
  if (dated)
    if (const size_t end = EventLineEnd(text, start, kind); end != std::string_view::npos) return end;
  return OtherLineEndMarkingDates(text, start, dated, marks);
}

// The same for a line not in the shape of an event.
size_t OtherLineEndMarkingDates(std::string_view text, size_t start, bool dated,
                                std::vector<uint64_t>& marks) {
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

std::string_view TSchedule::Line(size_t index) const {
  IndexWhenAsked();
  size_t line = index / kStride * kStride;
  size_t start = strides_[index / kStride];
  if (cursorLine_ > line && cursorLine_ <= index) {
    line = cursorLine_;
    start = cursorStart_;
  }
  for (; line < index; ++line) start = LineAt(text_, start).next;
  cursorLine_ = index;
  cursorStart_ = start;
  return TextOf(text_, LineAt(text_, start));
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
    const std::optional<SortKey> key = dated ? std::optional(SortKeyOf(line, KindRank(line))) : std::nullopt;
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
    const size_t end =
        LineEndMarkingDates(text, start, StartsWithDate(text.substr(start, kDateLength)), marks_);
    start = end + 1 + (end < text.size() && text[end] == '\r');  // past CR LF or LF
  }
  std::sort(marks_.begin(), marks_.end());
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
  for (size_t at = strides_[stride]; at < start; at = LineAt(text_, at).next) ++line;
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
  return head.substr(0,
                     static_cast<size_t>(std::find_if(head.begin(), head.end(), IsLineEnd) - head.begin()));
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
  while (low < high && notYet(low)) low = LineAt(text_, low).next;
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
    const Span span = LineAt(text_, start);
    const std::string_view line = TextOf(text_, span);
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
  const std::string_view line = TextOf(text_, span);
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
  for (size_t at = LineAt(text_, start).next; at < sortedEnd_;) {
    const Span span = LineAt(text_, at);
    const std::string_view line = TextOf(text_, span);
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
      sortedEnd_ == start &&
      (start == 0 || !SortsBefore(line, TextOf(text_, LineAt(text_, LineStartOf(start - 1)))));
  if (count_ % kStride == 0) strides_.push_back(start);
  ++count_;
  text_.append(line).append("\r\n");
  if (staysSorted) sortedEnd_ = text_.size();
  MarkLine(LineAt(text_, start), true);
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
  const Span changed = LineAt(text_, span.start);
  constexpr size_t kSortedBy = 13;  // the date and the kind word's second letter
  if (changed.start < sortedEnd_ && at < changed.start + kSortedBy) {
    // A change near the start of a line (from an odd date text) can move it out of order.
    const bool afterPrevious =
        changed.start == 0 ||
        !SortsBefore(TextOf(text_, changed), TextOf(text_, LineAt(text_, LineStartOf(changed.start - 1))));
    const bool beforeNext = changed.next >= sortedEnd_ ||
                            !SortsBefore(TextOf(text_, LineAt(text_, changed.next)), TextOf(text_, changed));
    if (!afterPrevious || !beforeNext) ReleaseSortedFrom(changed.start);
  }
  MarkLine(changed, true);
}

// Removes the line that starts at start, with its line end.
void TSchedule::EraseLine(size_t start) {
  const Span span = LineAt(text_, start);
  MarkLine(span, false);
  const size_t removed = span.next - start;
  if (span.next > span.end && text_[span.end] == '\n') --lineFeedsAlone_;
  // From the removed line on, each stride line is the line after it.
  const size_t line = LineNumberOf(start);
  for (size_t stride = line / kStride + (line % kStride != 0); stride < strides_.size(); ++stride)
    strides_[stride] = LineAt(text_, strides_[stride]).next - removed;
  --count_;
  strides_.resize((count_ + kStride - 1) / kStride);
  text_.erase(start, removed);
  ShiftMarks(span.next, 0 - removed);
  if (sortedEnd_ > start) sortedEnd_ -= removed;
  cursorLine_ = cursorStart_ = 0;
}
