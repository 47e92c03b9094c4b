// Holds a file open the way another program (the UPS monitor, a backup tool)
// may hold it, for the end-to-end scripts:
//
//   file_holder FILE r|rw|rwd COPY
//
// opens FILE for reading, letting others read (r), read and write (rw) or
// read, write and delete (rwd) it meanwhile, and creates COPY.held. It holds
// the file until COPY.stop exists, then reads the whole file through the
// handle it held, from its first byte, into COPY and ends. Exit status 0 when
// all went so, 1 when the file could not be opened or read.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void Touch(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

DWORD ShareMode(const std::wstring& mode) {
  if (mode == L"r") return FILE_SHARE_READ;
  if (mode == L"rw") return FILE_SHARE_READ | FILE_SHARE_WRITE;
  if (mode == L"rwd") return FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  return ~0u;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4 || ShareMode(argv[2]) == ~0u) {
    std::fputs("usage: file_holder FILE r|rw|rwd COPY\n", stderr);
    return 2;
  }
  const std::wstring copy = argv[3];
  HANDLE file = CreateFileW(argv[1], GENERIC_READ, ShareMode(argv[2]), nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "cannot open the file (error %lu)\n", GetLastError());
    return 1;
  }
  Touch(copy + L".held");
  while (!Exists(copy + L".stop")) Sleep(20);

  std::string bytes;
  char buffer[1 << 16];
  DWORD read = 0;
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);

  HANDLE out = CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const bool saved = out != INVALID_HANDLE_VALUE &&
                     WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                     written == bytes.size();
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  return saved ? 0 : 1;
}
