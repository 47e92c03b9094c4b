#pragma once
// The store of dated schedule events: one text line per event, exactly as in
// SCHEDULE.TXT ("2024/05/17,SHUTDOWN,08:30,1"). Searches treat the store as
// one text, every line followed by CR LF; as no line holds a line end, the
// first occurrence of a key is in the first line that contains it, and a key
// with a CR or LF (or an empty key) is never found. Lines not in event form
// stay as they are and are searched, sorted and written like the others.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/LineIndex.h"

class TSchedule {
 public:
  std::string Kind;  // kind word of the command under way
  std::string FilePath;

  // The lines, in load order followed by the lines added since; index below
  // Count(). A line's view stays valid until the store next changes; lines
  // read in ascending order are found in constant time each.
  size_t Count() const { return index_.Count(); }
  std::string_view Line(size_t index) const { return index_.Line(text_, index); }
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

  // held[day - 1][kind] for the days 1 to 31 of one month and the kinds of
  // kKindWords: what Holds(date + "," + kind) tells for the date text of that
  // day, found in one pass. monthPrefix is that date text without its two
  // day digits ("2024/05/").
  using MonthEvents = LineIndex::MonthEvents;
  MonthEvents EventsOfMonth(const std::string& monthPrefix) const;
  // Removes, in one pass, every line that starts with a date "dddd/dd/dd", a
  // comma and kind, and whose date text remove accepts; gives the dates of
  // the removed lines in store order. Other lines keep their order.
  std::vector<std::string> DeleteEventsOfKind(const std::string& kind,
                                              const std::function<bool(std::string_view date)>& remove);
  // True when the index agrees with the lines (for the tests).
  bool IndexIsSound() const { return index_.Sound(text_); }

 private:
  using Span = schedule_bytes::LineSpan;
  // The lines in store order, each followed by its line end: CR LF or LF (a
  // lone CR of the file ends a line like an LF, and is read as one). The last
  // line may lack its line end. The file is read into this one buffer; lines
  // are changed in place, added at its end, and written from it.
  std::string text_;
  size_t lineFeedsAlone_ = 0;  // line ends that are an LF without CR
  LineIndex index_;

  void AppendLine(const std::string& line);
  void ChangeWithinLine(const Span& span, size_t at, size_t count, std::string_view replacement);
  void EraseLine(size_t start);
  bool InStoreForm() const;
};
