// Random sequences of operations on the store, checked step by step against a
// plain model that searches its lines one by one, as text.
#include <gtest/gtest.h>

#include <cctype>
#include <random>

#include "schedule/ScheduleLines.h"
#include "schedule/TSchedule.h"
#include "support/ScratchFolder.h"

namespace {

using Lines = std::vector<std::string>;

struct PlainStore {
  Lines lines;

  long Find(const std::string& key) const {
    if (key.empty() || key.find_first_of("\r\n") != std::string::npos) return -1;
    for (size_t i = 0; i < lines.size(); ++i)
      if (lines[i].find(key) != std::string::npos) return static_cast<long>(i);
    return -1;
  }

  void Set(const std::string& kind, const std::string& date, const std::string& time, bool warning) {
    if (kind != "SHUTDOWN" && kind != "STARTUP" && kind != "TESTUPS") return;
    if ((date + time).find_first_of("\r\n") != std::string::npos) return;
    const std::string key = date + "," + kind;
    const std::string value = time + (warning ? ",1" : ",0");
    const long found = Find(key);
    if (found < 0) {
      lines.push_back(key + "," + value);
      return;
    }
    std::string& line = lines[static_cast<size_t>(found)];
    size_t comma = line.find(key) + key.size();
    if (comma == line.size()) line += ',';
    const std::string before = line.substr(0, comma + 1);
    const std::string after = line.size() > comma + 8 ? line.substr(comma + 8) : "";
    line = before + value + after;
  }

  bool Delete(const std::string& key) {
    const long found = Find(key);
    if (found < 0) return false;
    lines.erase(lines.begin() + found);
    return true;
  }

  std::optional<std::string> EventTime(const std::string& date, const std::string& kind) const {
    const std::string key = date + "," + kind;
    const long found = Find(key);
    if (found < 0) return std::nullopt;
    const std::string& line = lines[static_cast<size_t>(found)];
    const size_t at = line.find(key) + key.size() + 1;
    return at < line.size() ? line.substr(at, 5) : "";
  }

  // One search per day and kind.
  TSchedule::MonthEvents EventsOfMonth(const std::string& prefix) const {
    TSchedule::MonthEvents held{};
    for (int day = 1; day <= 31; ++day)
      for (int kind = 0; kind < 3; ++kind) {
        const std::string dd{static_cast<char>('0' + day / 10), static_cast<char>('0' + day % 10)};
        held[day - 1][kind] = Find(prefix + dd + "," + TSchedule::kKindWords[kind]) >= 0;
      }
    return held;
  }

  std::vector<std::string> DeleteEventsOfKind(const std::string& kind, const std::string& lastDigits) {
    std::vector<std::string> removed;
    Lines kept;
    for (const std::string& line : lines) {
      bool dated = line.size() > 10 && line[4] == '/' && line[7] == '/' && line[10] == ',';
      for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        dated = dated && std::isdigit(static_cast<unsigned char>(line[i]));
      if (!kind.empty() && dated && line.compare(11, kind.size(), kind) == 0 &&
          lastDigits.find(line[9]) != std::string::npos) {
        removed.push_back(line.substr(0, 10));
      } else {
        kept.push_back(line);
      }
    }
    lines = kept;
    return removed;
  }

  std::string Text() const {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
  }

  // Neighbours are exchanged until none is out of order.
  void Sort() {
    auto letterPlace = [](const std::string& line) -> int {
      if (line.size() < 13) return 0;
      const std::string order = "HT";
      if (line[12] == 'E') return 4;
      const size_t at = order.find(line[12]);
      return at == std::string::npos ? 3 : static_cast<int>(at) + 1;
    };
    bool exchanged = true;
    while (exchanged) {
      exchanged = false;
      for (size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string a = lines[i].substr(0, 10), b = lines[i + 1].substr(0, 10);
        const bool after = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                        [](char x, char y) {
                                                          return static_cast<unsigned char>(x) <
                                                                 static_cast<unsigned char>(y);
                                                        }) ||
                           (a == b && letterPlace(lines[i]) > letterPlace(lines[i + 1]));
        if (after) {
          std::swap(lines[i], lines[i + 1]);
          exchanged = true;
        }
      }
    }
  }
};

class RandomLines {
 public:
  explicit RandomLines(unsigned seed) : random_(seed) {}

  size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }
  template <size_t N>
  std::string Pick(const char* const (&choices)[N]) {
    return choices[Below(N)];
  }

  std::string Date() {
    static const char* const usual[] = {"2024/05/17", "2024/05/18", "2023/01/01", "2024/05/31"};
    static const char* const odd[] = {"2024/05/1", "x2024/05/17", "", "2024/05/00", "2024/05/40"};
    return Below(8) == 0 ? Pick(odd) : Pick(usual);
  }
  std::string Kind() {
    static const char* const kinds[] = {"SHUTDOWN", "STARTUP", "TESTUPS", "SHUT", "shutdown", ""};
    return Below(10) == 0 ? kinds[3 + Below(3)] : kinds[Below(3)];
  }
  std::string Time() {
    static const char* const times[] = {"08:30", "23:59", "00:00", "8:30", "99:99", "12:345"};
    return Pick(times);
  }
  std::string Line() {
    const std::string event = Date() + "," + Kind() + "," + Time() + (Below(2) ? ",1" : ",0");
    switch (Below(9)) {
      case 0:
        return "";
      case 1:
        return "note " + event;
      case 2:
        return event.substr(0, Below(event.size() + 1));
      case 3:
        return event + ",extra";
      case 4:
        return Date();
      case 5:
        return event.substr(0, event.size() - 1) + "2";
      default:
        return event;
    }
  }
  std::string Key() {
    switch (Below(6)) {
      case 0:
        return Date();
      case 1:
        return Line().substr(0, Below(12) + 1);
      case 2:
        return Below(2) ? "\r\n" : "";
      default:
        return Date() + "," + Kind();
    }
  }
  std::string LineEnd() {
    static const char* const ends[] = {"\r\n", "\r", "\n"};
    return Pick(ends);
  }

 private:
  std::mt19937 random_;
};

TEST(ScheduleModel, IndexedStoreBehavesLikeAPlainTextSearch) {
  ScratchFolder folder;
  RandomLines random(20240517);
  for (int round = 0; round < 300; ++round) {
    PlainStore model;
    TSchedule store;
    store.FilePath = folder.File("SCHEDULE.TXT");
    // Some files long enough that lines are found by walking from every 32nd.
    for (size_t i = random.Below(round % 10 == 0 ? 300 : 12); i > 0; --i) model.lines.push_back(random.Line());
    // Half the files come sorted, as the program saves them.
    if (round % 2) model.Sort();
    std::string file;
    for (const std::string& line : model.lines) {
      // An empty line after a lone CR needs both bytes, or its LF would join that CR.
      file += line + (line.empty() ? "\r\n" : random.LineEnd());
    }
    WriteFileBytes(store.FilePath, file);
    store.LoadSchedule();
    ASSERT_EQ(LinesOf(store), model.lines) << "loading " << file;

    for (int step = 0; step < 40; ++step) {
      const size_t operation = random.Below(10);
      std::string what;
      if (operation < 5) {
        store.Kind = random.Kind();
        const std::string date = random.Date(), time = random.Time();
        const bool warning = random.Below(2);
        store.SetEvent(date, time, warning);
        model.Set(store.Kind, date, time, warning);
        what = "SetEvent " + store.Kind + " " + date + " " + time;
      } else if (operation < 7) {
        const std::string key = random.Key();
        ASSERT_EQ(store.DeleteEvent(key), model.Delete(key)) << "DeleteEvent " << key;
        what = "DeleteEvent " + key;
      } else if (operation < 8) {
        // Removes the lines of one kind whose date ends in one of some digits.
        const std::string kind = random.Kind();
        const std::string digits = random.Below(2) ? "78" : "1";
        const auto removed = store.DeleteEventsOfKind(
            kind, [&digits](std::string_view date) { return digits.find(date[9]) != std::string::npos; });
        ASSERT_EQ(removed, model.DeleteEventsOfKind(kind, digits)) << "DeleteEventsOfKind " << kind;
        what = "DeleteEventsOfKind " + kind + " " + digits;
      } else if (operation == 8) {
        store.SortSchedule();
        model.Sort();
        what = "SortSchedule";
      } else {
        // The store text, copied in runs from the loaded bytes where it can be,
        // is every line with CR LF; reloading it rebuilds the index from scratch.
        ASSERT_EQ(store.StoreText(), model.Text()) << "in round " << round;
        WriteFileBytes(store.FilePath, store.StoreText());
        store.LoadSchedule();
        what = "LoadSchedule";
      }
      ASSERT_EQ(LinesOf(store), model.lines) << "after " << what << " in round " << round;
      for (int probe = 0; probe < 3; ++probe) {
        const std::string key = random.Key();
        ASSERT_EQ(store.Holds(key), model.Find(key) >= 0) << "Holds " << key;
        const std::string date = random.Date(), kind = random.Kind();
        ASSERT_EQ(store.EventTime(date, kind), model.EventTime(date, kind)) << date << "," << kind;
      }
      static const char* const months[] = {"2024/05/", "2023/01/", "x2024/05/", "2024/05/1"};
      const std::string month = random.Pick(months);
      ASSERT_EQ(store.EventsOfMonth(month), model.EventsOfMonth(month)) << "EventsOfMonth " << month;
    }
    if (round % 20 == 0) {
      store.SaveSchedule();
      model.Sort();
      ASSERT_EQ(ReadFileBytes(store.FilePath), model.Text());
    }
  }
}

}  // namespace
