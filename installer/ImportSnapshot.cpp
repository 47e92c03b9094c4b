// The notes of installer/ImportSnapshot.h, read and written with the Win32
// calls directly: the installer's actions name folders in UTF-16, and a
// registry value must come back with its own type.
#include "installer/ImportSnapshot.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/Handle.h"

namespace {

constexpr const wchar_t* kFiles[] = {L"omb.ini", L"SCHEDULE.TXT"};
constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

struct Value {
  const wchar_t* id;  // its name in the notes
  const wchar_t* key;
  const wchar_t* name;
  REGSAM view;
};
const Value kValues[] = {
    {L"OMB_SPY.32", kRunKey, L"OMB_SPY", KEY_WOW64_32KEY},
    {L"OMB_SPY.64", kRunKey, L"OMB_SPY", KEY_WOW64_64KEY},
    {L"SETUP.32", L"SOFTWARE\\Tarvexi\\Ombrel", L"SETUP", KEY_WOW64_32KEY},
};

// A value as it is stored: its type and bytes.
struct Stored {
  DWORD type = 0;
  std::string bytes;
  bool operator==(const Stored&) const = default;
};

// The whole file; none when it is not there; throws the Win32 error when it
// is there and cannot be read.
std::optional<std::string> ReadBytes(const std::wstring& path) {
  Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    throw error;
  }
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (true) {
    if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) throw GetLastError();
    if (read == 0) return bytes;
    bytes.append(buffer, read);
  }
}

// Writes the file whole; false when it could not.
bool WriteBytes(const std::wstring& path, const std::string& bytes, DWORD disposition) {
  Handle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  DWORD written = 0;
  if (!bytes.empty() &&
      (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
       written != bytes.size()))
    return false;
  return FlushFileBuffers(file.Get()) && file.Close();
}

// The value as stored; none when it (or its key) is not there; throws the
// Win32 error when it cannot be read.
std::optional<Stored> ReadValue(const Value& value) {
  HKEY key = nullptr;
  LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, value.key, 0, KEY_QUERY_VALUE | value.view, &key);
  if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if (status != ERROR_SUCCESS) throw static_cast<DWORD>(status);
  Stored stored;
  DWORD size = 0;
  status = RegQueryValueExW(key, value.name, nullptr, &stored.type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    stored.bytes.resize(size);
    status = RegQueryValueExW(key, value.name, nullptr, &stored.type,
                              reinterpret_cast<BYTE*>(stored.bytes.data()), &size);
    stored.bytes.resize(size);
  }
  RegCloseKey(key);
  if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if (status != ERROR_SUCCESS) throw static_cast<DWORD>(status);
  return stored;
}

LSTATUS WriteValue(const Value& value, const std::optional<Stored>& stored) {
  HKEY key = nullptr;
  if (!stored) {
    LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, value.key, 0, KEY_SET_VALUE | value.view, &key);
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    status = RegDeleteValueW(key, value.name);
    RegCloseKey(key);
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
  }
  LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, value.key, 0, nullptr, 0, KEY_SET_VALUE | value.view,
                                   nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return status;
  status =
      RegSetValueExW(key, value.name, 0, stored->type, reinterpret_cast<const BYTE*>(stored->bytes.data()),
                     static_cast<DWORD>(stored->bytes.size()));
  RegCloseKey(key);
  return status;
}

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (unsigned char byte : bytes) {
    text += digits[byte >> 4];
    text += digits[byte & 15];
  }
  return text;
}

std::string Unhex(const std::string& text) {
  std::string bytes;
  for (size_t i = 0; i + 1 < text.size(); i += 2)
    bytes += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
  return bytes;
}

std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

std::wstring ErrorText(DWORD error) {
  return L"Windows error " + std::to_wstring(error);
}

// The notes' "state": one line for each file and value, its id, then "-"
// when it was not there, else "+" (a file, copied beside) or its type and
// bytes in hexadecimal (a value).
struct State {
  std::vector<std::pair<std::string, std::string>> lines;  // id, rest
  const std::string* Find(const std::string& id) const {
    for (const auto& line : lines)
      if (line.first == id) return &line.second;
    return nullptr;
  }
};

// The notes' state; none when the notes are incomplete (no "state": the
// import never started). Throws the Win32 error when it cannot be read.
std::optional<State> ReadState(const std::wstring& notes) {
  const std::optional<std::string> text = ReadBytes(notes + L"state");
  if (!text) return std::nullopt;
  State state;
  size_t start = 0;
  while (start < text->size()) {
    size_t end = text->find('\n', start);
    if (end == std::string::npos) end = text->size();
    const std::string line = text->substr(start, end - start);
    const size_t space = line.find(' ');
    if (space != std::string::npos) state.lines.emplace_back(line.substr(0, space), line.substr(space + 1));
    start = end + 1;
  }
  return state;
}

// The file as noted: true when it had to be put back, false when it was
// already so. Throws the Win32 error of what failed.
bool RestoreFile(const std::wstring& path, const std::wstring& copy, bool existed) {
  std::optional<std::string> before;
  if (existed) {
    before = ReadBytes(copy);
    if (!before) throw static_cast<DWORD>(ERROR_FILE_NOT_FOUND);
  }
  if (ReadBytes(path) == before) return false;
  if (!before) {
    if (!DeleteFileW(path.c_str())) throw GetLastError();
    return true;
  }
  // A whole copy beside it first, then one rename: the file is at every
  // instant the import's or the one before it.
  const std::wstring temporary = path + L".tmp" + std::to_wstring(GetCurrentProcessId());
  if (WriteBytes(temporary, *before, CREATE_ALWAYS) &&
      MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  const DWORD error = GetLastError();
  DeleteFileW(temporary.c_str());
  throw error;
}

// The value as noted; as RestoreFile.
bool RestoreValue(const Value& value, const std::optional<Stored>& before) {
  if (ReadValue(value) == before) return false;
  const LSTATUS status = WriteValue(value, before);
  if (status != ERROR_SUCCESS) throw static_cast<DWORD>(status);
  return true;
}

// Each step is tried twice: a file another program held a moment ago, or a
// refusal that passes, is not left behind. Says what was put back or why not.
template <typename Step>
void TryTwice(std::vector<std::wstring>& said, const std::wstring& what, Step step) {
  DWORD error = 0;
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      if (step()) said.push_back(L"put back " + what + L" as it was before the import");
      return;
    } catch (DWORD failure) {
      error = failure;
    }
  }
  said.push_back(L"cannot put back " + what + L" (" + ErrorText(error) + L")");
}

}  // namespace

std::wstring TakeSnapshot(const std::wstring& installFolder, const std::wstring& notes) {
  std::string state;
  for (const wchar_t* name : kFiles) {
    std::optional<std::string> bytes;
    try {
      bytes = ReadBytes(installFolder + name);
    } catch (DWORD error) {
      return L"cannot read " + installFolder + name + L" (" + ErrorText(error) + L")";
    }
    if (bytes && !WriteBytes(notes + name, *bytes, CREATE_NEW))
      return L"cannot copy " + installFolder + name + L" to " + notes + L" (" + ErrorText(GetLastError()) +
             L")";
    state += Narrow(name) + (bytes ? " +\n" : " -\n");
  }
  for (const Value& value : kValues) {
    std::optional<Stored> stored;
    try {
      stored = ReadValue(value);
    } catch (DWORD error) {
      return L"cannot read the registry value " + std::wstring(value.name) + L" (" + ErrorText(error) + L")";
    }
    state += Narrow(value.id) +
             (stored ? " " + std::to_string(stored->type) + " " + Hex(stored->bytes) : " -") + "\n";
  }
  if (!WriteBytes(notes + L"state", state, CREATE_NEW))
    return L"cannot write " + notes + L"state (" + ErrorText(GetLastError()) + L")";
  return std::wstring();
}

std::vector<std::wstring> RestoreSnapshot(const std::wstring& installFolder, const std::wstring& notes) {
  std::vector<std::wstring> said;
  std::optional<State> state;
  DWORD error = 0;
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      state = ReadState(notes);
      if (!state) return said;
      break;
    } catch (DWORD failure) {
      error = failure;
    }
  }
  if (!state) {
    said.push_back(L"cannot read " + notes + L"state, the notes of what the import changed (" +
                   ErrorText(error) + L"): nothing put back");
    return said;
  }
  for (const wchar_t* name : kFiles) {
    const std::string* noted = state->Find(Narrow(name));
    if (!noted) continue;
    const std::wstring path = installFolder + name;
    TryTwice(said, path, [&] { return RestoreFile(path, notes + name, *noted != "-"); });
  }
  for (const Value& value : kValues) {
    const std::string* noted = state->Find(Narrow(value.id));
    if (!noted) continue;
    std::optional<Stored> before;
    if (*noted != "-") {
      const size_t space = noted->find(' ');
      before = Stored{static_cast<DWORD>(std::stoul(noted->substr(0, space))),
                      space == std::string::npos ? std::string() : Unhex(noted->substr(space + 1))};
    }
    const std::wstring named = L"the registry value " + std::wstring(value.name) +
                               (value.view == KEY_WOW64_64KEY ? L" (64-bit view)" : L"");
    TryTwice(said, named, [&] { return RestoreValue(value, before); });
  }
  return said;
}

void RemoveNotes(const std::wstring& notes) {
  for (const wchar_t* name : {L"omb.ini", L"SCHEDULE.TXT", L"state", L"import.conf"})
    DeleteFileW((notes + name).c_str());
  RemoveDirectoryW(notes.c_str());
}
