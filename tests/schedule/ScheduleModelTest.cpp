// Random sequences of operations on the store, checked step by step against a
// plain model that searches its lines one by one, as text.
#include <gtest/gtest.h>

#include <random>

#include "schedule/PlainSchedule.h"
#include "schedule/TSchedule.h"
#include "support/ScratchFolder.h"

namespace {

using Lines = std::vector<std::string>;

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
    PlainSchedule model;
    TSchedule store;
    store.FilePath = folder.File("SCHEDULE.TXT");
    // Some files long enough that lines are found by walking from every 32nd.
    for (size_t i = random.Below(round % 10 == 0 ? 300 : 12); i > 0; --i)
      model.lines.push_back(random.Line());
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
        const auto picked = [&digits](std::string_view date) {
          return digits.find(date[9]) != std::string::npos;
        };
        const auto removed = store.DeleteEventsOfKind(kind, picked);
        ASSERT_EQ(removed, model.DeleteEventsOfKind(kind, picked)) << "DeleteEventsOfKind " << kind;
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
      ASSERT_TRUE(store.IndexIsSound()) << "after " << what << " in round " << round;
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
