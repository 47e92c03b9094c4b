#pragma once
// The store of dated schedule events: one text line per event, exactly as in
// SCHEDULE.TXT ("2024/05/17,SHUTDOWN,08:30,1"). Searches treat the store as
// one text, every line followed by CR LF.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TSchedule {
public:
  std::string Kind;      // kind word of the command under way
  std::string FilePath;

  // The lines, in load order followed by the lines added since.
  const std::vector<std::string>& Entries() const { return entries_; }
  void Clear();

  // Replaces Entries by the file's lines when the file exists. Throws
  // AppError("Cannot open file <path>") when it exists but cannot be read.
  void LoadSchedule();
  // Sorts, then writes every line with CR LF, replacing the file in one step.
  // Throws AppError("Cannot create file <path>") when that fails.
  void SaveSchedule();
  // Adds the event of kind Kind on date ("yyyy/mm/dd") at time ("HH:MM"),
  // or changes time and flag of the one that exists, in place.
  void SetEvent(const std::string& date, const std::string& time, bool warning);
  // Removes the first line that holds key; false when no line does.
  bool DeleteEvent(const std::string& key);
  // Ascending dates; within a date SHUTDOWN, STARTUP, TESTUPS. Stable.
  void SortSchedule();

  // The store as one text: every line followed by CR LF.
  std::string StoreText() const;
  // True when key occurs in the store text.
  bool Holds(const std::string& key) const;
  // The 5-character time of the event of kind on date, or "" when absent.
  std::string EventTime(const std::string& date, const std::string& kind) const;

private:
  // Lines in store order. Each line has an id; ids ascend in store order, so
  // comparing ids compares places and a place is found by binary search.
  std::vector<std::string> entries_;
  std::vector<uint64_t> ids_;
  uint64_t nextId_ = 0;
  // Lines in the exact event form, by date and kind. A date key or an event
  // key can only occur at the start of such a line, so these lines need no
  // text search for those keys.
  std::unordered_multimap<uint32_t, uint64_t> eventLines_;
  // Ascending ids of every other line; these are searched as text.
  std::vector<uint64_t> otherLines_;

  static constexpr size_t kNotFound = static_cast<size_t>(-1);
  size_t FindFirst(std::string_view key) const;
  size_t PositionOf(uint64_t id) const;
  void AddToIndex(size_t position);
  void RemoveFromIndex(size_t position);
  void RebuildIndex();
};
