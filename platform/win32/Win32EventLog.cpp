#include "platform/win32/Win32EventLog.h"

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/win32/AnsiText.h"
#include "platform/win32/EventMessages.h"
#include "platform/win32/Handle.h"

namespace {

// One string of an entry holds at most 31,839 characters.
constexpr size_t kLongestEntry = 31000;

struct Deregister {
  void operator()(HANDLE source) const { DeregisterEventSource(source); }
};

}  // namespace

bool Win32EventLog::Add(Kind kind, const std::string& text) {
  const std::unique_ptr<void, Deregister> source(RegisterEventSourceW(nullptr, L"Ombrel Setup"));
  if (!source) return false;
  const std::wstring wide = AnsiToWide(text.size() > kLongestEntry ? text.substr(0, kLongestEntry) + "..." : text);
  LPCWSTR strings[] = {wide.c_str()};
  const WORD type = kind == Kind::Error ? EVENTLOG_ERROR_TYPE : EVENTLOG_INFORMATION_TYPE;
  const BOOL added = ReportEventW(source.get(), type, 0, OMBREL_EVENT_TEXT, nullptr, 1, 0, strings, nullptr);
  return added != FALSE;
}

std::string Win32EventLog::Account() const {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return "unknown";
  Handle owned(token);
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<unsigned char> buffer(size ? size : 1);
  if (!GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return "unknown";
  const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
  wchar_t name[256], domain[256];
  DWORD nameSize = 256, domainSize = 256;
  SID_NAME_USE use;
  if (!LookupAccountSidW(nullptr, user->User.Sid, name, &nameSize, domain, &domainSize, &use)) return "unknown";
  return WideToAnsi(std::wstring(domain) + L"\\" + name);
}
