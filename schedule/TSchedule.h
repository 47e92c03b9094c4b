#pragma once
// The store of dated schedule events: one text line per event, exactly as in
// SCHEDULE.TXT ("2024/05/17,SHUTDOWN,08:30,1"). Searches treat the store as
// one text, every line followed by CR LF; as no line holds a line end, the
// first occurrence of a key is in the first line that contains it, and a key
// with a CR or LF (or an empty key) is never found. Lines not in event form
// stay as they are and are searched, sorted and written like the others.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace schedule_bytes {
struct LineSpan;
}

class TSchedule {
 public:
  std::string Kind;  // kind word of the command under way
  std::string FilePath;

  // The lines, in load order followed by the lines added since; index below
  // Count(). A line's view stays valid until the store next changes; lines
  // read in ascending order are found in constant time each.
  size_t Count() const { return count_; }
  std::string_view Line(size_t index) const;
  // Empties the store.
  void Clear();

  // Replaces the lines by the file's lines when the file exists. Throws
  // AppError("Cannot open file <path>") when it exists but cannot be read.
  void LoadSchedule();
  // Sorts, then writes every line with CR LF, replacing the file in one step.
  // Throws AppError("Cannot create file <path>: <cause>") when that fails.
  void SaveSchedule();
  // Adds the event of kind Kind on date ("yyyy/mm/dd") at time ("HH:MM"),
  // or changes time and flag of the one that exists, in place: the 7
  // characters after the key and the character behind it, never past the end
  // of that line. Nothing happens for another Kind, or when date or time
  // holds a line end.
  void SetEvent(const std::string& date, const std::string& time, bool warning);
  // Removes the first line that holds key, whole; false when no line does.
  bool DeleteEvent(const std::string& key);
  // Ascending dates (the first 10 characters as bytes); within a date lines
  // too short to name a kind, SHUTDOWN, STARTUP, other words, TESTUPS. Stable.
  void SortSchedule();

  // The store as one text: every line followed by CR LF.
  std::string StoreText() const;
  // True when key occurs in the store text.
  bool Holds(const std::string& key) const;
  // The 5 characters after the key date + "," + kind and the character behind
  // it, as far as its line reaches; nothing when no line holds the key.
  std::optional<std::string> EventTime(const std::string& date, const std::string& kind) const;

  // The kind words, in the order of their markers: red, lime, blue.
  static constexpr const char* kKindWords[] = {"SHUTDOWN", "STARTUP", "TESTUPS"};
  // held[day - 1][kind] for the days 1 to 31 of one month and the kinds of
  // kKindWords: what Holds(date + "," + kind) tells for the date text of that
  // day, found in one pass. monthPrefix is that date text without its two
  // day digits ("2024/05/").
  using MonthEvents = std::array<std::array<bool, 3>, 31>;
  MonthEvents EventsOfMonth(const std::string& monthPrefix) const;
  // Removes, in one pass, every line that starts with a date "dddd/dd/dd", a
  // comma and kind, and whose date text remove accepts; gives the dates of
  // the removed lines in store order. Other lines keep their order.
  std::vector<std::string> DeleteEventsOfKind(const std::string& kind,
                                              const std::function<bool(std::string_view date)>& remove);

 private:
  // A line: its characters [start, end), and where the next line starts.
  using Span = schedule_bytes::LineSpan;
  // The lines in store order, each followed by its line end: CR LF or LF (a
  // lone CR of the file ends a line like an LF, and is read as one). The last
  // line may lack its line end. The file is read into this one buffer; lines
  // are changed in place, added at its end, and written from it.
  std::string text_;
  size_t count_ = 0;
  size_t lineFeedsAlone_ = 0;  // line ends that are an LF without CR
  // The start of every kStride-th line, so that a line is found by walking
  // at most kStride - 1 lines.
  static constexpr size_t kStride = 32;
  mutable std::vector<size_t> strides_;
  // The lines before sortedEnd_ (a line start, or the end) are in
  // SortSchedule order, as a file this program saved is: the lines of one
  // date stand together and are found by binary search. Every other place a
  // date text "dddd/dd/dd" stands (inside a line, or at the start of a line
  // from sortedEnd_ on) is a mark: date, the kind word after it, and its
  // offset, ordered by date and kind, then offset. A file of event lines as
  // saved has none.
  size_t sortedEnd_ = 0;
  mutable std::vector<uint64_t> marks_;
  // False from a sort, or a removal from sorted lines, until the strides and
  // marks are next needed.
  mutable bool indexed_ = true;
  // The line Line() gave last, so that lines read in order cost a step each.
  mutable size_t cursorLine_ = 0;
  mutable size_t cursorStart_ = 0;

  static constexpr size_t kNotFound = static_cast<size_t>(-1);
  void Index();
  template <typename Key>
  size_t SkipLinesAsSaved(size_t start, std::string_view& previous, Key& previousKey);
  void IndexWhenAsked() const;
  size_t LineStartOf(size_t offset) const;
  size_t LineNumberOf(size_t start) const;
  std::string_view SortKeyAt(size_t start) const;
  template <typename NotYet>
  size_t FirstSortedWhere(NotYet notYet) const;
  size_t FirstSortedFrom(std::string_view date) const;
  size_t FirstSortedAfter(std::string_view line) const;
  size_t FindFirst(std::string_view key) const;
  void MarkLine(const Span& span, bool add);
  void ReleaseSortedFrom(size_t start);
  void ShiftMarks(size_t from, size_t delta);
  void AppendLine(const std::string& line);
  void ChangeWithinLine(const Span& span, size_t at, size_t count, std::string_view replacement);
  void EraseLine(size_t start);
  bool InStoreForm() const;
};
