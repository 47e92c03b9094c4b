// A DLL planted beside the program under a system DLL's name: the program's
// own loads never take it. The planted DLL leaves NAME.loaded when loaded.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <string>

#include "platform/win32/SystemFunction.h"

namespace {

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring SystemFolder() {
  wchar_t path[MAX_PATH] = {};
  GetSystemDirectoryW(path, MAX_PATH);
  return path;
}

std::wstring ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module, path, MAX_PATH);
  return path;
}

std::wstring Lower(std::wstring text) {
  CharLowerW(text.data());
  return text;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The planted DLL beside this test program under a system DLL's name, removed afterwards.
class PlantedDll {
 public:
  explicit PlantedDll(const std::wstring& name) : path_(OwnFolder() + name) {
    CopyFileW(OMBREL_PLANTED_DLL, path_.c_str(), FALSE);
    DeleteFileW(Marker().c_str());
  }
  ~PlantedDll() {
    DeleteFileW(path_.c_str());
    DeleteFileW(Marker().c_str());
  }
  bool Placed() const { return Exists(path_); }
  bool Loaded() const { return Exists(Marker()); }

 private:
  std::wstring Marker() const { return path_ + L".loaded"; }
  std::wstring path_;
};

// Without the restriction the planted copy is what a load by name finds: the
// plant works, so the next test means something.
TEST(PlantedDll, APlainLoadByNameTakesThePlantedCopy) {
  PlantedDll planted(L"dwmapi.dll");
  ASSERT_TRUE(planted.Placed());
  HMODULE module = LoadLibraryW(L"dwmapi.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(ModulePath(module), OwnFolder() + L"dwmapi.dll");
  EXPECT_TRUE(planted.Loaded());
  FreeLibrary(module);
}

TEST(PlantedDll, SystemFunctionTakesTheSystemCopy) {
  ASSERT_EQ(GetModuleHandleW(L"shell32.dll"), nullptr) << "shell32 is loaded already; the test shows nothing";
  PlantedDll planted(L"shell32.dll");
  ASSERT_TRUE(planted.Placed());
  auto execute = SystemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
  ASSERT_NE(execute, nullptr);
  EXPECT_EQ(Lower(ModulePath(GetModuleHandleW(L"shell32.dll"))), Lower(SystemFolder() + L"\\shell32.dll"));
  EXPECT_FALSE(planted.Loaded());
}

}  // namespace
