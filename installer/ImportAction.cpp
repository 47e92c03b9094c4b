// The installer's import of an administrator's configuration
// (CONFIGFILE=<file>, DETECTUPS=1), custom actions that installer/build-msi
// puts into the MSI:
// - PrepareImport, before anything is installed, as the installing account:
//   checks DETECTUPS, that the monitor is in the install folder and that
//   only administrators may change that folder, and reads and checks the
//   file (a relative name is the package's own folder), so that a wrong
//   install fails before it starts; it hands the file's bytes on.
// - ImportConfiguration, deferred, as the installer's service account once
//   the files are in place: notes what the import may change, runs the
//   installed program on a copy of the file that only administrators may
//   change, and fails the install when the program fails.
// - RestoreBeforeImport, its rollback, puts back what was noted;
//   ForgetBeforeImport, at commit, drops the notes.
// Every line goes into the installer's log, prefixed "Ombrel Setup:", and
// into %ProgramData%\Tarvexi\Ombrel\deploy.log.
#include <windows.h>
// after windows.h
#include <aclapi.h>
#include <msi.h>
#include <msiquery.h>
#include <sddl.h>

#include <exception>
#include <string>
#include <vector>

#include "deploy/Configuration.h"
#include "installer/ChildProgram.h"
#include "installer/DeployLog.h"
#include "installer/FolderRightsNote.h"
#include "installer/ImportSnapshot.h"
#include "installer/MsiMessages.h"
#include "installer/MsiProperty.h"
#include "platform/FileSystem.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/Handle.h"
#include "platform/win32/SystemFunction.h"
#include "settings/TINI.h"

namespace {

// A detection alone takes about a minute and a half; a program still
// running after ten has hung (a serial driver that never answers).
constexpr DWORD kProgramTimeLimitMs = 10 * 60 * 1000;

void Say(MSIHANDLE install, const std::wstring& line) {
  LogLine(install, L"Ombrel Setup: " + line);
  AddToDeployLog(line);
}

// The error message reaches every log the installer keeps, the verbose one
// included: the line is not written there twice.
UINT Fail(MSIHANDLE install, const std::wstring& line) {
  AddToDeployLog(line);
  ErrorLine(install, L"Ombrel Setup: " + line);
  return ERROR_INSTALL_FAILURE;
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::wstring::npos) return parts;
    start = end + 1;
  }
}

std::wstring WithBackslash(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// The file as a full path: one given without a drive or a share is in the
// package's folder (as Intune and ConfigMgr ship it, beside the MSI), not
// in whatever folder the installer's service runs in.
std::wstring Resolve(const std::wstring& path, const std::wstring& packageFolder) {
  const bool rooted =
      (path.size() >= 2 && path[1] == L':') || (!path.empty() && (path[0] == L'\\' || path[0] == L'/'));
  const std::wstring joined = rooted ? path : packageFolder + path;
  std::wstring full(32768, L'\0');
  const DWORD length =
      GetFullPathNameW(joined.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (length == 0 || length >= full.size()) return joined;
  full.resize(length);
  return full;
}

std::wstring Hex(const std::string& bytes) {
  static const wchar_t digits[] = L"0123456789abcdef";
  std::wstring text;
  text.reserve(bytes.size() * 2);
  for (unsigned char byte : bytes) {
    text += digits[byte >> 4];
    text += digits[byte & 15];
  }
  return text;
}

std::string Unhex(const std::wstring& text) {
  std::string bytes;
  bytes.reserve(text.size() / 2);
  auto value = [](wchar_t digit) { return digit <= L'9' ? digit - L'0' : digit - L'a' + 10; };
  for (size_t i = 0; i + 1 < text.size(); i += 2)
    bytes += static_cast<char>(value(text[i]) * 16 + value(text[i + 1]));
  return bytes;
}

// A name nobody can guess for the notes' folder.
// Empty when the system gives no random bytes.
std::wstring RandomToken() {
  using Random = BOOLEAN(WINAPI*)(PVOID, ULONG);
  unsigned char bytes[16] = {};
  const auto random = SystemFunction<Random>(L"advapi32.dll", "SystemFunction036");
  if (!random || !random(bytes, sizeof bytes)) return std::wstring();
  return Hex(std::string(reinterpret_cast<char*>(bytes), sizeof bytes));
}

// The notes' folder, in the temporary folder of the account the deferred
// actions run as, changed only by SYSTEM and Administrators. For SYSTEM,
// GetTempPath2W (where Windows has it) gives the system's own temporary
// folder, which other accounts cannot even list.
std::wstring NotesFolder(const std::wstring& token) {
  using TempPath = DWORD(WINAPI*)(DWORD, LPWSTR);
  static const TempPath tempPath = SystemFunction<TempPath>(L"kernel32.dll", "GetTempPath2W");
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = (tempPath ? tempPath : GetTempPathW)(MAX_PATH + 1, temp);
  return WithBackslash(std::wstring(temp, length)) + L"Ombrel-" + token + L"\\";
}

bool MakeNotesFolder(const std::wstring& notes) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)",
                                                            SDDL_REVISION_1, &descriptor, nullptr))
    return false;
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
  const bool made = CreateDirectoryW(notes.c_str(), &attributes);
  LocalFree(descriptor);
  return made;
}

// True when the notes' folder belongs to this account (the system's, which
// made it), to SYSTEM or to Administrators: notes in a folder that anybody
// else made are never put back as the PC's state.
bool MadeByAdministrators(const std::wstring& notes) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(notes.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                            nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
    return false;
  bool trusted = false;
  for (const wchar_t* sid : {L"SY", L"BA"}) {
    PSID known = nullptr;
    if (ConvertStringSidToSidW(sid, &known)) {
      trusted = trusted || EqualSid(owner, known);
      LocalFree(known);
    }
  }
  HANDLE token = nullptr;
  if (!trusted && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    char buffer[256];
    DWORD size = 0;
    if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size))
      trusted = EqualSid(owner, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
    CloseHandle(token);
  }
  LocalFree(descriptor);
  return trusted;
}

bool WriteNewFile(const std::wstring& path, const std::string& bytes) {
  Handle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file.Valid() &&
         (bytes.empty() ||
          WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) &&
         written == bytes.size() && file.Close();
}

// The file's bytes, opened by its UTF-16 name: a share's or a folder's name
// need not fit this PC's ANSI code page, which the program's own reader
// works in. Throws ConfigurationError in that reader's words.
std::string ReadConfiguration(const std::wstring& path) {
  using deploy::ConfigurationError;
  auto unreadable = [](DWORD error) {
    return ConfigurationError(0, "the file cannot be read (Windows error " + std::to_string(error) + ")");
  };
  WIN32_FILE_ATTRIBUTE_DATA about{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &about)) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
      throw ConfigurationError(0, "the file does not exist");
    throw unreadable(error);
  }
  if (about.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) throw ConfigurationError(0, "a folder, not a file");
  const uint64_t size = (static_cast<uint64_t>(about.nFileSizeHigh) << 32) | about.nFileSizeLow;
  if (size > deploy::kLargestFile)
    throw ConfigurationError(0, "the file is larger than any configuration (" + std::to_string(size) +
                                    " bytes; at most " + std::to_string(deploy::kLargestFile) + ")");
  Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) throw unreadable(GetLastError());
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (true) {
    if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) throw unreadable(GetLastError());
    if (read == 0) return bytes;
    bytes.append(buffer, read);
    if (bytes.size() > deploy::kLargestFile) throw ConfigurationError(0, "the file grew while it was read");
  }
}

// The file checked as the program will check it: against this PC's omb.ini
// and the languages it has or this package brings.
std::wstring CheckConfiguration(const std::string& bytes, const std::wstring& folder,
                                const std::wstring& shipped) {
  const std::string ansiFolder = WideToAnsi(folder);
  TINI present;
  present.Load(ansiFolder + "omb.ini");
  std::vector<std::string> languages;
  try {
    languages = fs_seam::ListNamesWithoutExtension(ansiFolder + "Languages");
  } catch (const fs_seam::FileError&) {
  }
  for (const std::wstring& language : Split(shipped, L';'))
    if (!language.empty()) languages.push_back(WideToAnsi(language));
  try {
    deploy::Import(bytes, present, languages);
  } catch (const deploy::ConfigurationError& error) {
    return AnsiToWide(error.Text());
  }
  return std::wstring();
}

}  // namespace

// A custom action that throws would end the installer's host process with
// no word: a fault of the import's own code fails the install with a line;
// one of the rollback or the commit is said, and ends them.
template <typename Action>
UINT Guarded(MSIHANDLE install, Action action, UINT onFault) {
  std::wstring line = L"the installer's import failed";
  try {
    return action(install);
  } catch (const std::exception& fault) {
    line += L": " + AnsiToWide(fault.what());
  } catch (...) {
  }
  if (onFault == ERROR_SUCCESS)
    Say(install, line);
  else
    Fail(install, line);
  return onFault;
}

// Immediate, before an older version is removed and anything installed;
// run when CONFIGFILE or DETECTUPS is given. Sets the deferred actions' data
// when there is an import to run.
static UINT Prepare(MSIHANDLE install) {
  const std::wstring detectups = Property(install, L"DETECTUPS");
  const std::wstring configfile = Property(install, L"CONFIGFILE");
  if (detectups != L"" && detectups != L"0" && detectups != L"1")
    return Fail(install, L"DETECTUPS=" + detectups +
                             L" is not valid: DETECTUPS=1 detects the UPS, DETECTUPS=0 or "
                             L"none does not; nothing installed");
  const bool detect = detectups == L"1";
  if (configfile.empty() && !detect) return ERROR_SUCCESS;

  const std::wstring folder = WithBackslash(Property(install, L"INSTALLDIR"));
  if (GetFileAttributesW((folder + L"SPY.EXE").c_str()) == INVALID_FILE_ATTRIBUTES)
    return Fail(
        install,
        L"the monitor SPY.EXE is not in " + folder +
            L", the folder this install would configure; name the monitor's folder on the command line "
            L"with INSTALLDIR=\"FOLDER\\\"; nothing installed");
  if (FolderOpenToAllUsers(folder))
    return Fail(install,
                L"the configuration is not imported: " + FolderRightsNote(folder) + L" Nothing installed.");

  std::wstring file, bytes;
  if (!configfile.empty()) {
    std::wstring package = Property(install, L"OriginalDatabase");
    package = package.empty() ? WithBackslash(Property(install, L"SourceDir")) : FolderOf(package);
    file = Resolve(configfile, package);
    std::string content;
    try {
      content = ReadConfiguration(file);
    } catch (const deploy::ConfigurationError& error) {
      return Fail(install, file + L": " + AnsiToWide(error.Text()) + L"; nothing installed");
    }
    if (const std::wstring fault =
            CheckConfiguration(content, folder, Property(install, L"ShippedLanguages"));
        !fault.empty())
      return Fail(install, file + L": " + fault + L"; nothing installed");
    Say(install,
        L"CONFIGFILE " + file + L" read and checked (" + std::to_wstring(content.size()) + L" bytes)");
    bytes = Hex(content);
  }
  const std::wstring token = RandomToken();
  if (token.empty()) return Fail(install, L"no random name for the import's notes; nothing installed");
  const std::wstring program = folder + L"OmbrelSetup.exe";
  const std::wstring data = program + L"\t" + folder + L"\t" + (detect ? L"1" : L"0") + L"\t" + file + L"\t" +
                            token + L"\t" + bytes;
  if (MsiSetPropertyW(install, L"ImportConfiguration", data.c_str()) != ERROR_SUCCESS ||
      MsiSetPropertyW(install, L"RestoreBeforeImport", (folder + L"\t" + token).c_str()) != ERROR_SUCCESS ||
      MsiSetPropertyW(install, L"ForgetBeforeImport", token.c_str()) != ERROR_SUCCESS)
    return Fail(install, L"the import's data cannot be handed on; nothing installed");
  return ERROR_SUCCESS;
}

// Deferred, without impersonation, once the files are in place.
// CustomActionData: the program, its folder, 1 to detect, the file (empty for
// a detection alone), the notes' token and the file's bytes in hexadecimal,
// separated by tabs.
static UINT Import(MSIHANDLE install) {
  const std::vector<std::wstring> data = Split(Property(install, L"CustomActionData"), L'\t');
  if (data.size() != 6) return Fail(install, L"the import's data is incomplete");
  const std::wstring &program = data[0], &folder = data[1], &file = data[3];
  const bool detect = data[2] == L"1";
  const std::wstring notes = NotesFolder(data[4]);

  if (!MakeNotesFolder(notes))
    return Fail(install, L"cannot make the folder " + notes +
                             L" for what the import changes (Windows error " +
                             std::to_wstring(GetLastError()) + L")");
  if (const std::wstring fault = TakeSnapshot(folder, notes); !fault.empty())
    return Fail(install, L"the configuration is not imported: " + fault);
  // Checked again now that the files are in: the program runs from there
  // with the installer's rights.
  if (FolderOpenToAllUsers(folder))
    return Fail(install, L"the configuration is not imported: " + FolderRightsNote(folder));

  std::wstring command = L"\"" + program + L"\"";
  if (!file.empty()) {
    const std::wstring copy = notes + L"import.conf";
    if (!WriteNewFile(copy, Unhex(data[5])))
      return Fail(install, L"cannot write the copy " + copy + L" of " + file + L" (Windows error " +
                               std::to_wstring(GetLastError()) + L")");
    Say(install, L"importing " + file + L" from its copy " + copy + L", taken at the install's start");
    command += L" /import \"" + copy + L"\"";
  }
  if (detect) command += L" /detect";
  command += L" /quiet";
  Say(install, command);

  const ProgramRun run = RunProgram(program, command, folder, kProgramTimeLimitMs);
  std::wstring last;
  size_t start = 0;
  while (start < run.output.size()) {
    size_t end = run.output.find_first_of("\r\n", start);
    if (end == std::string::npos) end = run.output.size();
    if (end > start) {
      last = AnsiToWide(run.output.substr(start, end - start));
      Say(install, last);
    }
    start = end + 1;
  }
  if (!run.exitCode) return Fail(install, run.failure);
  Say(install, L"exit code " + std::to_wstring(*run.exitCode));
  if (*run.exitCode != 0)
    return Fail(install, (last.empty() ? L"the program failed" : last) + L" (exit code " +
                             std::to_wstring(*run.exitCode) + L")");
  return ERROR_SUCCESS;
}

// Rollback of the import: CustomActionData is the install folder and the
// notes' token. Never fails (a rollback has nothing to fall back to); what
// could not be put back is said.
static UINT Restore(MSIHANDLE install) {
  const std::vector<std::wstring> data = Split(Property(install, L"CustomActionData"), L'\t');
  if (data.size() != 2) return ERROR_SUCCESS;
  const std::wstring notes = NotesFolder(data[1]);
  if (GetFileAttributesW(notes.c_str()) == INVALID_FILE_ATTRIBUTES)
    return ERROR_SUCCESS;  // the import never began
  if (!MadeByAdministrators(notes)) {
    Say(install, L"the notes in " + notes + L" were not made by this installer: nothing put back");
    return ERROR_SUCCESS;
  }
  for (const std::wstring& line : RestoreSnapshot(data[0], notes)) Say(install, line);
  RemoveNotes(notes);
  return ERROR_SUCCESS;
}

// Commit: the install stays, the notes go. CustomActionData is the token.
static UINT Forget(MSIHANDLE install) {
  RemoveNotes(NotesFolder(Property(install, L"CustomActionData")));
  return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall PrepareImport(MSIHANDLE install) {
  return Guarded(install, Prepare, ERROR_INSTALL_FAILURE);
}
extern "C" __declspec(dllexport) UINT __stdcall ImportConfiguration(MSIHANDLE install) {
  return Guarded(install, Import, ERROR_INSTALL_FAILURE);
}
extern "C" __declspec(dllexport) UINT __stdcall RestoreBeforeImport(MSIHANDLE install) {
  return Guarded(install, Restore, ERROR_SUCCESS);
}
extern "C" __declspec(dllexport) UINT __stdcall ForgetBeforeImport(MSIHANDLE install) {
  return Guarded(install, Forget, ERROR_SUCCESS);
}
