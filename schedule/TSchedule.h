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
#include <unordered_map>
#include <vector>

class TSchedule {
 public:
  std::string Kind;  // kind word of the command under way
  std::string FilePath;

  // The lines, in load order followed by the lines added since; index below
  // Count(). A line's view stays valid until the store next changes.
  size_t Count() const { return lines_.size(); }
  std::string_view Line(size_t index) const { return View(lines_[index]); }
  // Empties the store.
  void Clear();

  // Replaces the lines by the file's lines when the file exists. Throws
  // AppError("Cannot open file <path>") when it exists but cannot be read.
  void LoadSchedule();
  // Sorts, then writes every line with CR LF, replacing the file in one step.
  // Throws AppError("Cannot create file <path>") when that fails.
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
  // A line: where its bytes lie (offsets below the size of loaded_ in
  // loaded_, the others that far past its end in edits_), and its id. Ids
  // ascend in store order, so comparing ids compares places, and a place is
  // found by binary search.
  struct Entry {
    size_t offset;
    size_t length;
    uint64_t id;
  };
  // The file as loaded, never changed afterwards, and the bytes of each line
  // added or changed since, appended whole (a changed line's old bytes just go
  // unused). Views into one buffer instead of a string per line save an
  // allocation per line, which is slow under Wine's heap, and let loaded lines
  // that still follow each other be written back in one piece.
  std::string loaded_;
  std::string edits_;
  std::vector<Entry> lines_;  // in store order
  uint64_t nextId_ = 0;
  // The lines before sortedCount_ are in SortSchedule order (a loaded file
  // usually is), so the lines of one date stand together and are found by
  // binary search. Lines in the exact event form after them are found by
  // date and kind in tailEvents_. A date key or an event key can occur in a
  // line of the event form only at its start; every other line is listed in
  // otherLines_ and searched as text.
  size_t sortedCount_ = 0;
  std::unordered_multimap<uint32_t, uint64_t> tailEvents_;
  std::vector<uint64_t> otherLines_;  // ascending ids

  static constexpr size_t kNotFound = static_cast<size_t>(-1);
  std::string_view View(const Entry& line) const;
  bool Precedes(const Entry& a, const Entry& b) const;
  bool FollowsInLoaded(const Entry& a, const Entry& b) const;
  size_t FindFirst(std::string_view key) const;
  // The place of the line with id, at or after from.
  size_t PositionOf(uint64_t id, size_t from = 0) const;
  size_t KeepEdit(const std::string& line);
  void AppendLine(size_t offset, size_t length);
  void EraseLine(size_t position);
  void ChangeLine(size_t position, const std::string& key, const std::string& timeAndFlag);
  void ForgetTailEvent(uint32_t code, uint64_t id);
  void ReleaseSortedFrom(size_t position);
};
