#pragma once
// The index's marks of date texts. A mark is one number: the date as the
// number yyyymmdd, times 4, plus the kind after it (a kind, or kOtherWord),
// above the offset of the date text. Marks in numeric order are ordered by
// date, kind and offset; a date text's number fits in 27 bits.
#include <cstddef>
#include <cstdint>

#include "schedule/LineIndex.h"
#include "schedule/ScheduleOrder.h"

namespace line_marks {

constexpr int kOffsetBits = 35;
constexpr uint64_t kOffsetMask = (uint64_t{1} << kOffsetBits) - 1;
static_assert(schedule_order::kOtherWord < 4 && LineIndex::kLongestText == kOffsetMask);

inline uint64_t MarkOf(uint32_t date, int kind, size_t offset) {
  return (uint64_t{date} * 4 + static_cast<uint64_t>(kind)) << kOffsetBits | offset;
}

// What a mark holds.
struct Mark {
  uint32_t date;
  int kind;
  size_t offset;
};

inline Mark Decoded(uint64_t mark) {
  const uint64_t code = mark >> kOffsetBits;
  return {static_cast<uint32_t>(code / 4), static_cast<int>(code % 4),
          static_cast<size_t>(mark & kOffsetMask)};
}

inline size_t OffsetOf(uint64_t mark) {
  return Decoded(mark).offset;
}

}  // namespace line_marks
