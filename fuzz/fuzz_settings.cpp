// Loads arbitrary bytes as omb.ini into the settings record, saves it and
// loads it again: the record must come back the same, every day string holds
// 7 characters, and every line of the file that is not one of the keys the
// record writes must still be in the saved file, byte for byte and in its order.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/support/Check.h"
#include "fuzz/support/MemoryFiles.h"
#include "settings/TINI.h"
#include "util/AppError.h"

namespace {

constexpr const char* kSettingsPath = "C:\\Ombrel\\omb.ini";

// The lines of a file that hold something: CR LF, CR and LF each end a line.
std::vector<std::string_view> FilledLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i <= bytes.size(); ++i) {
    if (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n') continue;
    if (i > start) lines.push_back(bytes.substr(start, i - start));
    start = i + 1;
  }
  return lines;
}

bool IsBlank(char c) { return (c >= '\x09' && c <= '\x0D') || c == '\x1A' || c == ' '; }

bool StartsWithoutCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != prefix[i]) return false;
  }
  return true;
}

void Save(TINI& record) {
  try {
    record.Save();
  } catch (const AppError&) {
    std::abort();
  }
}

// The names of the keys Save writes: those of a file it creates.
std::vector<std::string> WrittenKeys() {
  memory_files::Clear();
  TINI record;
  record.Load(kSettingsPath);
  Save(record);
  std::vector<std::string> keys;
  for (std::string_view line : FilledLines(*memory_files::Find(kSettingsPath))) {
    const size_t equals = line.find('=');
    if (equals != std::string_view::npos) keys.emplace_back(line.substr(0, equals));
  }
  return keys;
}

// A line that may hold one of the written keys: after its leading blanks it
// starts with the key's name (a looser test than the reader's own).
bool MayHoldWrittenKey(std::string_view line, const std::vector<std::string>& keys) {
  while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
  for (const std::string& key : keys)
    if (StartsWithoutCase(line, key)) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<std::string> writtenKeys = WrittenKeys();
  const std::string original(reinterpret_cast<const char*>(data), size);
  memory_files::Clear();
  memory_files::Put(kSettingsPath, original);

  TINI loaded;
  loaded.Load(kSettingsPath);
  for (const std::string* days : {&loaded.WEEKLY_SCHEDULE_SHUTDOWN_DAY, &loaded.WEEKLY_SCHEDULE_STARTUP_DAY,
                                  &loaded.WEEKLY_SCHEDULE_TESTUPS_DAY})
    Check(days->size() == 7);
  Save(loaded);
  const std::string saved = *memory_files::Find(kSettingsPath);

  TINI reloaded;
  reloaded.Load(kSettingsPath);
  Check(reloaded == loaded);

  // Save only changes values of its keys and adds lines: the other lines stay in order.
  const std::vector<std::string_view> after = FilledLines(saved);
  size_t next = 0;
  for (std::string_view line : FilledLines(original)) {
    if (MayHoldWrittenKey(line, writtenKeys)) continue;
    while (next < after.size() && after[next] != line) ++next;
    Check(next < after.size());
    ++next;
  }
  return 0;
}
