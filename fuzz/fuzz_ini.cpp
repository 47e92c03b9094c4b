// Reads and writes keys of arbitrary bytes taken as an ini file. Besides the
// sanitizers' checks it asserts what callers rely on: a key reads back what
// was written, and writing one key leaves every other key's value alone.
#include <cstdint>
#include <iterator>
#include <string>

#include "fuzz/support/Check.h"
#include "settings/IniFile.h"

namespace {

const char* const kSections[] = {"PAGE1", "page2", "DEBUG", "S"};
const char* const kKeys[] = {"UPSPORT", "language", "k", "DEBUG_LOG"};
const char* const kValues[] = {"", "1", "0x7FFFFFFF", "C:\\DATALOG\\", "\"quoted\"", "a=b", " pad\t", "'q'"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const char* section = kSections[data[0] % 4];
  const char* key = kKeys[(data[0] >> 2) % 4];
  const char* value = kValues[data[1] % std::size(kValues)];
  IniFile file(std::string(reinterpret_cast<const char*>(data) + 2, size - 2));

  int32_t number = 0;
  ParseIniInteger(file.Bytes().substr(0, 64), number);
  std::string before[4][4];
  for (int s = 0; s < 4; ++s)
    for (int k = 0; k < 4; ++k) before[s][k] = file.ReadString(kSections[s], kKeys[k], "<missing>");
  file.ReadInteger(section, key, 7);
  file.ReadFlag(section, key, true);

  file.WriteString(section, key, value);
  IniFile reread(file.Bytes());
  Check(reread.ReadString(section, key, "<missing>") == value);
  for (int s = 0; s < 4; ++s)
    for (int k = 0; k < 4; ++k) {
      bool same = std::string(kSections[s]) == section && std::string(kKeys[k]) == key;
      if (!same) Check(reread.ReadString(kSections[s], kKeys[k], "<missing>") == before[s][k]);
    }
  file.WriteInteger(section, key, number);
  file.WriteFlag("New Section", key, number != 0);
  // A default other than number (number ^ 1 cannot overflow) shows that the value was read.
  Check(file.ReadInteger(section, key, number ^ 1) == number);
  return 0;
}
