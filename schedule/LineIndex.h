#pragma once
// The index of the schedule store's text (its lines, each followed by CR LF or
// LF; the last may lack its line end): where each line starts, how far the
// lines stand in sort order, and the marks of the other date texts. Found in
// one pass at load; the store tells it of each change of the text, and it
// keeps up to date from there. It keeps, after every call:
// - the lines before the sorted end (a line start, or the end of the text)
//   are in sort order, so that the lines of one date stand together and are
//   found by binary search;
// - the marks are exactly the date texts "dddd/dd/dd" that stand anywhere
//   else: inside a line, or at the start of a line from the sorted end on;
// - the strides hold the start of every kStride-th line.
// After a sort, or lines taken out of sorted ones, the strides and marks are
// found again when next needed, at the latest before the next change. Every
// call takes the text as it stands.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/ScheduleBytes.h"
#include "schedule/ScheduleOrder.h"

class LineIndex {
 public:
  using Span = schedule_bytes::LineSpan;
  // held[day - 1][kind] for the days 1 to 31 of one month.
  using MonthEvents = std::array<std::array<bool, kKindCount>, 31>;
  static constexpr size_t kNotFound = static_cast<size_t>(-1);
  // Offsets are kept in the low bits of a mark: the longest text indexed.
  static constexpr size_t kLongestText = (uint64_t{1} << 35) - 1;

  // Indexes text in one pass; a lone CR becomes the LF it stands for. Gives
  // the number of line ends that are an LF alone.
  size_t Build(std::string& text);
  void Clear() { *this = LineIndex(); }

  size_t Count() const { return count_; }
  // Line index below Count(); lines read in ascending order are found in
  // constant time each.
  std::string_view Line(std::string_view text, size_t index) const;
  // The offset of the first occurrence of key, or kNotFound. Lines never hold
  // a line end, so a key with one (or an empty key) is never found.
  size_t Find(std::string_view text, std::string_view key) const;
  // For each day of the month and each kind: whether key date + "," + kind
  // word is found. monthPrefix is the month's date text without its day
  // digits ("2024/05/").
  MonthEvents EventsOfMonth(std::string_view text, const std::string& monthPrefix) const;
  // True when every line is in sort order.
  bool AllSorted(std::string_view text) const { return sortedEnd_ == text.size(); }
  // Where the lines in sort order from the start end: a line start, or the end.
  size_t SortedEnd() const { return sortedEnd_; }
  // The line start in the sorted part where line goes in after the lines that
  // do not sort after it.
  size_t SortedPlaceOf(std::string_view text, std::string_view line) const;

  // True when the index keeps the rules above for text, checked from scratch
  // (for the tests).
  bool Sound(std::string_view text) const;

  // What the store tells of its changes.
  // A line now starts at start, at the end; the text ended at oldEnd before
  // (start - 2 when the last line was given its CR LF first).
  void Appended(std::string_view text, size_t oldEnd, size_t start);
  // Before and after a change within the line of span that made it longer by
  // delta bytes (wrapping when shorter), starting at offset at.
  void Changing(std::string_view text, const Span& span);
  void Changed(std::string_view text, const Span& span, size_t at, size_t delta);
  // Before the line that starts at start is taken out, with its line end.
  void Erasing(std::string_view text, size_t start);
  // The text now has count lines, all in sort order.
  void Sorted(std::string_view text, size_t count) {
    count_ = count;
    sortedEnd_ = text.size();
    indexed_ = false;
  }

 private:
  // The start of every kStride-th line, so that a line is found by walking
  // at most kStride - 1 lines.
  static constexpr size_t kStride = 32;
  size_t count_ = 0;
  mutable std::vector<size_t> strides_;
  size_t sortedEnd_ = 0;
  // The date, the kind word after it and the offset of a date text, as one
  // number: ordered by date and kind, then offset (see Mark).
  mutable std::vector<uint64_t> marks_;
  // False from a sort, or a removal from sorted lines, until the strides and
  // marks are next needed.
  mutable bool indexed_ = true;
  // The line Line() gave last, so that lines read in order cost a step each.
  mutable size_t cursorLine_ = 0;
  mutable size_t cursorStart_ = 0;

  template <typename Key>
  size_t SkipLinesAsSaved(std::string_view text, size_t start, std::string_view& previous, Key& previousKey);
  void IndexWhenAsked(std::string_view text) const;
  size_t LineNumberOf(std::string_view text, size_t start) const;
  template <typename NotYet>
  size_t FirstSortedWhere(std::string_view text, NotYet notYet) const;
  size_t FirstSortedFrom(std::string_view text, std::string_view date) const;
  void MarkLine(std::string_view text, const Span& span, bool add);
  void ReleaseSortedFrom(std::string_view text, size_t start);
  void ShiftMarks(size_t from, size_t delta);
};
