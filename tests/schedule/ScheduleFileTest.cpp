#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "schedule/PlainSchedule.h"
#include "support/ScratchFolder.h"
#include "schedule/TSchedule.h"
#include "util/AppError.h"

namespace {

using Lines = std::vector<std::string>;
using namespace std::string_literals;

class ScheduleFile : public ::testing::Test {
 protected:
  ScheduleFile() : path(folder.File("SCHEDULE.TXT")) { store.FilePath = path; }

  Lines Load(const std::string& bytes) {
    WriteFileBytes(path, bytes);
    store.LoadSchedule();
    return LinesOf(store);
  }

  ScratchFolder folder;
  std::string path;
  TSchedule store;
};

TEST_F(ScheduleFile, EveryKindOfLineEndEndsALine) {
  EXPECT_EQ(Load("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(Load("a\n\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(Load("a\r\r\nb\r\n"), (Lines{"a", "", "b"}));
  EXPECT_EQ(Load("\r\n\r\n"), (Lines{"", ""}));
  EXPECT_EQ(Load("\n"), (Lines{""}));
  EXPECT_EQ(Load("only"), (Lines{"only"}));
  EXPECT_EQ(Load(""), Lines{});
}

// Lines of every length up to three words of the eight bytes the reader takes
// at once, with each kind of line end and with bytes close to CR and LF, so
// that the line ends fall at every place within a word.
TEST_F(ScheduleFile, LineEndsAreFoundWhereverTheyFallInALongFile) {
  const std::string fill = "\x0b\x0c\x0e\x8a\x8d\0 9,/Z\xff\t"s;
  Lines expected;
  std::string bytes, text;
  for (const std::string lineEnd : {"\r\n", "\r", "\n"}) {
    for (size_t length = 0; length <= 24; ++length) {
      std::string line;
      for (size_t i = 0; i < length; ++i) line += fill[(length + i) % fill.size()];
      expected.push_back(line);
      // An empty line ends with CR LF: a lone LF after a lone CR would join it.
      bytes += line + (line.empty() ? "\r\n" : lineEnd);
      text += line + "\r\n";
    }
  }
  bytes += "no line end!!";
  expected.push_back("no line end!!");
  text += "no line end!!\r\n";
  EXPECT_EQ(Load(bytes), expected);
  EXPECT_EQ(store.StoreText(), text);
}

TEST_F(ScheduleFile, LoadingReplacesTheStoreButAMissingFileChangesNothing) {
  store.Kind = "SHUTDOWN";
  store.SetEvent("2024/05/17", "08:30", true);
  EXPECT_EQ(Load("2024/06/01,STARTUP,07:00,0\r\n"), (Lines{"2024/06/01,STARTUP,07:00,0"}));
  EXPECT_FALSE(store.Holds("2024/05/17"));

  store.FilePath = folder.File("MISSING.TXT");
  store.LoadSchedule();
  EXPECT_EQ(LinesOf(store), (Lines{"2024/06/01,STARTUP,07:00,0"}));

  // A folder where the file should be is not a missing file but one that
  // cannot be read: the start stops there, and the store is unchanged.
  std::filesystem::create_directory(folder.File("FOLDER.TXT"));
  store.FilePath = folder.File("FOLDER.TXT");
  EXPECT_THROW(store.LoadSchedule(), AppError);
  EXPECT_EQ(LinesOf(store), (Lines{"2024/06/01,STARTUP,07:00,0"}));
}

TEST_F(ScheduleFile, SavedFileIsSortedWithCrLfAfterEveryLine) {
  Load("2024/05/17,TESTUPS,21:05,0\n2024/05/17,SHUTDOWN,08:30,1\r\n\r2024/05/01,STARTUP,07:00,0");
  store.Kind = "STARTUP";
  store.SetEvent("2024/05/17", "06:00", false);
  store.SaveSchedule();
  EXPECT_EQ(ReadFileBytes(path),
            "\r\n"
            "2024/05/01,STARTUP,07:00,0\r\n"
            "2024/05/17,SHUTDOWN,08:30,1\r\n"
            "2024/05/17,STARTUP,06:00,0\r\n"
            "2024/05/17,TESTUPS,21:05,0\r\n");
  const Lines saved = LinesOf(store);
  TSchedule again;
  again.FilePath = path;
  again.LoadSchedule();
  EXPECT_EQ(LinesOf(again), saved);
}

// Lines as this program saves them are taken by the load in steps of their
// own; the line after them is still held against the last of them, so a short
// one that sorts before it goes to its place when the file is saved.
TEST_F(ScheduleFile, AShortLineAfterSortedOnesThatSortsBeforeThemIsSavedInItsPlace) {
  const Lines sorted{"2024/05/17,SHUTDOWN,08:30,1", "2024/05/18,STARTUP,07:00,0", "2024/05/19,TESTUPS,21:05,0",
                     "2024/05/20,SHUTDOWN,08:00,0"};
  const auto fileOf = [](const Lines& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
  };
  // Too short to name a kind, a date and no kind word, and no date at all
  // (its first 10 bytes still place it).
  const std::pair<std::string, size_t> cases[] = {{"2024/05/18", 1}, {"2024/05/19,X", 2}, {"2024/05/1x", 3}};
  for (const auto& [shortLine, place] : cases) {
    Lines expected = sorted;
    expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(place), shortLine);
    Lines file = sorted;
    file.push_back(shortLine);
    Load(fileOf(file));
    store.SaveSchedule();
    EXPECT_EQ(ReadFileBytes(path), fileOf(expected)) << shortLine;
  }
  // The same inside the file: more lines as saved follow the short one.
  Lines file = sorted;
  file.insert(file.end(), {"2024/05/19", "2024/05/21,STARTUP,06:00,0", "2024/05/22,STARTUP,06:00,0"});
  Load(fileOf(file));
  EXPECT_EQ(store.EventTime("2024/05/21", "STARTUP"), "06:00");
  store.SaveSchedule();
  Lines expected = sorted;
  expected.insert(expected.begin() + 2, "2024/05/19");
  expected.insert(expected.end(), {"2024/05/21,STARTUP,06:00,0", "2024/05/22,STARTUP,06:00,0"});
  EXPECT_EQ(ReadFileBytes(path), fileOf(expected));
}

TEST_F(ScheduleFile, EmptyStoreWritesAnEmptyFile) {
  Load("2024/05/17,SHUTDOWN,08:30,1\r\n");
  store.Clear();
  store.SaveSchedule();
  EXPECT_TRUE(std::filesystem::is_regular_file(path));
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST_F(ScheduleFile, BinaryBytesSurviveARoundTrip) {
  std::string garbage;
  for (int round = 0; round < 4; ++round)
    for (int byte = 0; byte < 256; ++byte) garbage += static_cast<char>((byte * 37 + round * 11) & 0xFF);
  const Lines loaded = Load(garbage);
  std::string expected;
  for (const std::string& line : loaded) {
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
    expected += line;
  }
  std::string withoutLineEnds;
  for (char c : garbage)
    if (c != '\r' && c != '\n') withoutLineEnds += c;
  EXPECT_EQ(expected, withoutLineEnds);

  store.SaveSchedule();
  TSchedule again;
  again.FilePath = path;
  again.LoadSchedule();
  EXPECT_EQ(LinesOf(again), LinesOf(store));
  EXPECT_EQ(ReadFileBytes(path), store.StoreText());
}

TEST_F(ScheduleFile, NulBytesAreOrdinaryCharacters) {
  const std::string bytes = "2024/05/17,SHUTDOWN,08:30,1\0tail\r\n\0\0\r\n2024/05/18,STARTUP,07:00,0\r\n"s;
  const Lines loaded = Load(bytes);
  ASSERT_EQ(loaded.size(), 3u);
  EXPECT_EQ(loaded[0], "2024/05/17,SHUTDOWN,08:30,1\0tail"s);
  EXPECT_EQ(loaded[1], "\0\0"s);
  store.Kind = "SHUTDOWN";
  store.SetEvent("2024/05/17", "09:00", false);
  EXPECT_EQ(store.Line(0), "2024/05/17,SHUTDOWN,09:00,0\0tail"s);
  EXPECT_TRUE(store.DeleteEvent("\0\0"s));
  EXPECT_EQ(store.Count(), 2u);
}

TEST_F(ScheduleFile, TenMegabyteLineIsOneEntry) {
  std::string huge(10 * 1024 * 1024, 'x');
  huge.replace(5 * 1024 * 1024, 19, "2024/05/17,SHUTDOWN");
  const Lines loaded = Load("2024/05/16,STARTUP,07:00,0\r\n" + huge + "\r\n2024/05/18,TESTUPS,01:00,0");
  ASSERT_EQ(loaded.size(), 3u);
  EXPECT_EQ(loaded[1].size(), huge.size());
  EXPECT_EQ(store.EventTime("2024/05/17", "SHUTDOWN"), "xxxxx");
  store.Kind = "SHUTDOWN";
  store.SetEvent("2024/05/17", "08:30", true);
  EXPECT_EQ(store.Line(1).size(), huge.size());
  EXPECT_EQ(store.Line(1).substr(5 * 1024 * 1024, 30), "2024/05/17,SHUTDOWNx08:30,1xxx");
  EXPECT_TRUE(store.DeleteEvent("2024/05/17"));
  EXPECT_EQ(LinesOf(store), (Lines{"2024/05/16,STARTUP,07:00,0", "2024/05/18,TESTUPS,01:00,0"}));
}

TEST_F(ScheduleFile, SaveFailureReportsTheFileAndLeavesWhatWasThere) {
  store.Kind = "SHUTDOWN";
  store.SetEvent("2024/05/17", "08:30", true);
  store.FilePath = folder.File("missing folder") + "/SCHEDULE.TXT";
  try {
    store.SaveSchedule();
    ADD_FAILURE() << "saving into a missing folder succeeded";
  } catch (const AppError& error) {
    // The cause follows, in the system's words (they differ between systems).
    const std::string text = error.what(), failure = "Cannot create file " + store.FilePath + ": ";
    EXPECT_EQ(text.substr(0, failure.size()), failure);
    EXPECT_GT(text.size(), failure.size());
  }

  // A folder in the file's place cannot be replaced; it stays, and no temporary file is left.
  const std::string blocked = folder.File("BLOCKED.TXT");
  std::filesystem::create_directory(blocked);
  WriteFileBytes(blocked + "/inside", "keep");
  store.FilePath = blocked;
  EXPECT_THROW(store.SaveSchedule(), AppError);
  EXPECT_EQ(ReadFileBytes(blocked + "/inside"), "keep");
  int names = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) ++names;
  EXPECT_EQ(names, 1);
  EXPECT_EQ(LinesOf(store), (Lines{"2024/05/17,SHUTDOWN,08:30,1"}));
}

#ifdef __linux__
// A regular file whose reading fails, even for root.
TEST_F(ScheduleFile, UnreadableFileIsReportedAndChangesNothing) {
  Load("2024/05/17,SHUTDOWN,08:30,1\r\n");
  store.FilePath = "/proc/self/mem";
  try {
    store.LoadSchedule();
    ADD_FAILURE() << "reading /proc/self/mem succeeded";
  } catch (const AppError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file /proc/self/mem");
  }
  EXPECT_EQ(LinesOf(store), (Lines{"2024/05/17,SHUTDOWN,08:30,1"}));
}
#endif

}  // namespace
