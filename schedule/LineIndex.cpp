#include "schedule/LineIndex.h"

#include <algorithm>

#include "schedule/LineMarks.h"

using namespace schedule_bytes;
using namespace schedule_order;
using namespace line_marks;

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

}  // namespace

std::string_view LineIndex::Line(std::string_view text, size_t index) const {
  IndexWhenAsked(text);
  size_t line = index / kStride * kStride;
  size_t start = strides_[index / kStride];
  if (cursorLine_ > line && cursorLine_ <= index) {
    line = cursorLine_;
    start = cursorStart_;
  }
  for (; line < index; ++line) start = LineAt(text, start).next;
  cursorLine_ = index;
  cursorStart_ = start;
  return TextOf(text, LineAt(text, start));
}

size_t LineIndex::Build(std::string& bytes) {
  *this = LineIndex();
  size_t lineFeedsAlone = 0;
  const std::string_view text = bytes;
  char* const data = bytes.data();
  sortedEnd_ = text.size();
  bool sorted = true;
  std::string_view previous;
  std::optional<SortKey> previousKey;
  for (size_t start = 0; start < text.size();) {
    if (sorted && previousKey) {
      start = SkipLinesAsSaved(text, start, previous, *previousKey);
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
        ++lineFeedsAlone;
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
  return lineFeedsAlone;
}

// From start on, the lines that are event lines as the store saves them
// (EventLineEnd, then CR LF) and that do not sort before the one before:
// counted, with their strides, in a few steps each. previous and its sort key
// become the last of them. Gives where the first other line starts, or the end.
template <typename Key>
size_t LineIndex::SkipLinesAsSaved(std::string_view text, size_t start, std::string_view& previous,
                                   Key& previousKey) {
  // Each line is looked at through a window as long as the longest such line
  // with its CR LF; the last lines of the text are left to the caller.
  constexpr size_t kWindow = 29;
  const char* const data = text.data();
  const size_t size = text.size();
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
void LineIndex::IndexWhenAsked(std::string_view text) const {
  if (indexed_) return;
  indexed_ = true;
  strides_.clear();
  marks_.clear();
  cursorLine_ = cursorStart_ = 0;
  for (size_t start = 0, line = 0; start < text.size(); ++line) {
    if (line % kStride == 0) strides_.push_back(start);
    const size_t end =
        LineEndMarkingDates(text, start, StartsWithDate(text.substr(start, kDateLength)), marks_);
    start = end + 1 + (end < text.size() && text[end] == '\r');  // past CR LF or LF
  }
  std::sort(marks_.begin(), marks_.end());
}

// The number of the line that starts at start.
size_t LineIndex::LineNumberOf(std::string_view text, size_t start) const {
  const size_t stride =
      static_cast<size_t>(std::upper_bound(strides_.begin(), strides_.end(), start) - strides_.begin()) - 1;
  size_t line = stride * kStride;
  for (size_t at = strides_[stride]; at < start; at = LineAt(text, at).next) ++line;
  return line;
}

// The first line of the sorted part for which notYet is false, notYet being
// true for every line before it; or the sorted end. Halves the strides, then
// the bytes between two of them, then goes line by line.
template <typename NotYet>
size_t LineIndex::FirstSortedWhere(std::string_view text, NotYet notYet) const {
  const auto stride = std::partition_point(strides_.begin(), strides_.end(),
                                           [&](size_t start) { return start < sortedEnd_ && notYet(start); });
  size_t low = stride == strides_.begin() ? 0 : *(stride - 1);
  size_t high = stride == strides_.end() ? sortedEnd_ : std::min(*stride, sortedEnd_);
  constexpr size_t kFewLines = 64;
  while (high - low > kFewLines) {
    const size_t middle = NextLineFeed(text, low + (high - low) / 2) + 1;  // a line start
    if (middle >= high) break;
    (notYet(middle) ? low : high) = middle;
  }
  while (low < high && notYet(low)) low = LineAt(text, low).next;
  return low;
}

// The first line of the sorted part whose date text does not sort before
// date, or the sorted end.
size_t LineIndex::FirstSortedFrom(std::string_view text, std::string_view date) const {
  if (date.size() != kDateLength)
    return FirstSortedWhere(
        text, [&](size_t start) { return CompareBytes(DateOf(SortKeyAt(text, start)), date) < 0; });
  const SortKey dateKey = SortKeyOf(date, 0);
  return FirstSortedWhere(text, [&](size_t start) {
    const std::string_view head = SortKeyAt(text, start);
    return head.size() >= kDateLength ? SortKeyOf(head, 0) < dateKey : CompareBytes(head, date) < 0;
  });
}

size_t LineIndex::SortedPlaceOf(std::string_view text, std::string_view line) const {
  IndexWhenAsked(text);
  return FirstSortedWhere(text, [&](size_t start) { return !SortsBefore(line, SortKeyAt(text, start)); });
}

size_t LineIndex::Find(std::string_view text, std::string_view key) const {
  IndexWhenAsked(text);
  if (key.empty() || HoldsLineEnd(key)) return kNotFound;
  const auto date = LeadingDate(key);
  if (!date) {
    const size_t found = text.find(key);
    return found == std::string_view::npos ? kNotFound : found;
  }

  size_t first = kNotFound;
  // In the sorted part the lines that start with the date stand together.
  for (size_t start = FirstSortedFrom(text, DateOf(key)); start < sortedEnd_;) {
    const Span span = LineAt(text, start);
    const std::string_view line = TextOf(text, span);
    if (DateOf(line) != DateOf(key)) break;
    if (const size_t at = line.find(key); at != std::string_view::npos) {
      first = start + at;
      break;
    }
    start = span.next;
  }
  // The marks of the date: of the key's kind word when it is a date and a
  // kind word, else of every kind, where the key may go on past the date text.
  const std::optional<int> keyKind = KindOfWord(key.substr(std::min(key.size(), kDateLength + 1)));
  const bool eventKey = key.size() > kDateLength && key[kDateLength] == ',' && keyKind;
  const bool whole = eventKey || key.size() == kDateLength;
  for (int kind = eventKey ? *keyKind : 0; kind <= (eventKey ? *keyKind : kOtherWord); ++kind) {
    const auto end = std::lower_bound(marks_.begin(), marks_.end(), MarkOf(*date, kind + 1, 0));
    for (auto it = std::lower_bound(marks_.begin(), marks_.end(), MarkOf(*date, kind, 0));
         it != end && OffsetOf(*it) < first; ++it) {
      if (whole || text.compare(OffsetOf(*it), key.size(), key) == 0) {
        first = OffsetOf(*it);
        break;
      }
    }
  }
  return first;
}

LineIndex::MonthEvents LineIndex::EventsOfMonth(std::string_view text, const std::string& monthPrefix) const {
  IndexWhenAsked(text);
  MonthEvents held{};
  const auto dayText = [](int day) {
    return std::string{static_cast<char>('0' + day / 10), static_cast<char>('0' + day % 10)};
  };
  const auto firstDate = LeadingDate(monthPrefix + "01");
  if (monthPrefix.size() != kDateLength - 2 || !firstDate) {
    // Not a date the marks know: one search per day and kind.
    for (int day = 1; day <= 31; ++day)
      for (int kind = 0; kind < kKindCount; ++kind)
        held[day - 1][kind] =
            Find(text, monthPrefix + dayText(day) + "," + std::string(kKindWords[kind])) != kNotFound;
    return held;
  }
  const auto hold = [&held](Mark mark) {
    const uint32_t day = mark.date % 100;
    if (mark.kind < kKindCount && day >= 1 && day <= 31) held[day - 1][mark.kind] = true;
  };
  // Lines of the sorted part that start with the month's dates stand together.
  for (size_t start = FirstSortedFrom(text, monthPrefix); start < sortedEnd_;) {
    const Span span = LineAt(text, start);
    const std::string_view line = TextOf(text, span);
    if (!line.starts_with(monthPrefix)) break;
    if (const auto date = LeadingDate(line)) hold({*date, KindAfterDate(line), start});
    start = span.next;
  }
  // Every other date text of the month.
  const uint32_t month = *firstDate - 1;  // yyyymm00
  const auto end = std::lower_bound(marks_.begin(), marks_.end(), MarkOf(month + 100, 0, 0));
  for (auto it = std::lower_bound(marks_.begin(), marks_.end(), MarkOf(month, 0, 0)); it != end; ++it)
    hold(Decoded(*it));
  return held;
}

// Adds or removes the marks of the date texts in a line.
void LineIndex::MarkLine(std::string_view text, const Span& span, bool add) {
  const std::string_view line = TextOf(text, span);
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
void LineIndex::ReleaseSortedFrom(std::string_view text, size_t start) {
  std::vector<uint64_t> released;
  for (size_t at = LineAt(text, start).next; at < sortedEnd_;) {
    const Span span = LineAt(text, at);
    const std::string_view line = TextOf(text, span);
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
void LineIndex::ShiftMarks(size_t from, size_t delta) {
  for (uint64_t& mark : marks_)
    if (OffsetOf(mark) >= from) mark += delta;
}

void LineIndex::Appended(std::string_view text, size_t oldEnd, size_t start) {
  IndexWhenAsked(text.substr(0, oldEnd));
  const Span added = LineAt(text, start);
  if (sortedEnd_ == oldEnd) {
    // The line end the last line was given keeps it sorted; the new line
    // stays sorted when it does not sort before the line before it.
    sortedEnd_ = start;
    if (start == 0 ||
        !SortsBefore(TextOf(text, added), TextOf(text, LineAt(text, LineStartOf(text, start - 1)))))
      sortedEnd_ = text.size();
  }
  if (count_ % kStride == 0) strides_.push_back(start);
  ++count_;
  MarkLine(text, added, true);
}

void LineIndex::Changing(std::string_view text, const Span& span) {
  IndexWhenAsked(text);
  MarkLine(text, span, false);
}

void LineIndex::Changed(std::string_view text, const Span& span, size_t at, size_t delta) {
  if (delta != 0) {
    ShiftMarks(span.end, delta);
    for (size_t& stride : strides_)
      if (stride > span.start) stride += delta;
    if (sortedEnd_ > span.start) sortedEnd_ += delta;
  }
  cursorLine_ = cursorStart_ = 0;
  const Span changed = LineAt(text, span.start);
  if (changed.start < sortedEnd_ && at < changed.start + kSortKey) {
    // A change near the start of a line (from an odd date text) can move it out of order.
    const bool afterPrevious =
        changed.start == 0 ||
        !SortsBefore(TextOf(text, changed), TextOf(text, LineAt(text, LineStartOf(text, changed.start - 1))));
    const bool beforeNext = changed.next >= sortedEnd_ ||
                            !SortsBefore(TextOf(text, LineAt(text, changed.next)), TextOf(text, changed));
    if (!afterPrevious || !beforeNext) ReleaseSortedFrom(text, changed.start);
  }
  MarkLine(text, changed, true);
}

void LineIndex::Erasing(std::string_view text, size_t start) {
  IndexWhenAsked(text);
  const Span span = LineAt(text, start);
  MarkLine(text, span, false);
  const size_t removed = span.next - start;
  // From the removed line on, each stride line is the line after it.
  const size_t line = LineNumberOf(text, start);
  for (size_t stride = line / kStride + (line % kStride != 0); stride < strides_.size(); ++stride)
    strides_[stride] = LineAt(text, strides_[stride]).next - removed;
  --count_;
  strides_.resize((count_ + kStride - 1) / kStride);
  ShiftMarks(span.next, 0 - removed);
  if (sortedEnd_ > start) sortedEnd_ -= removed;
  cursorLine_ = cursorStart_ = 0;
}

bool LineIndex::Sound(std::string_view text) const {
  IndexWhenAsked(text);
  std::vector<size_t> strides;
  std::vector<uint64_t> marks;
  bool sorted = sortedEnd_ == 0 || sortedEnd_ == text.size() || text[sortedEnd_ - 1] == '\n';
  size_t count = 0;
  for (size_t start = 0, previous = 0; start < text.size();
       previous = start, start = LineAt(text, start).next) {
    const std::string_view line = TextOf(text, LineAt(text, start));
    if (count++ % kStride == 0) strides.push_back(start);
    if (start < sortedEnd_ && start > 0 && SortsBefore(line, TextOf(text, LineAt(text, previous))))
      sorted = false;
    ForEachDateText(line, start, [&](size_t offset, uint32_t date) {
      if (offset > start || start >= sortedEnd_)
        marks.push_back(MarkOf(date, KindAfterDate(line.substr(offset - start)), offset));
    });
  }
  std::sort(marks.begin(), marks.end());
  return sorted && count == count_ && strides == strides_ && marks == marks_;
}
