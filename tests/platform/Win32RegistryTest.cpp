#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/Win32Registry.h"
#include "util/AppError.h"

namespace {

// Every test works below its own key, removed again afterwards from both views.
constexpr char kTestKey[] = "SOFTWARE\\OmbrelRegistryTest";
constexpr wchar_t kTestKeyWide[] = L"SOFTWARE\\OmbrelRegistryTest";

void DeleteTestKey(REGSAM view) {
  HKEY software = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, KEY_ALL_ACCESS | view, &software) != ERROR_SUCCESS)
    return;
  RegDeleteTreeW(software, L"OmbrelRegistryTest");
  RegCloseKey(software);
}

// The value as a program in the given view reads it back; nothing when missing.
template <typename Value>
std::optional<Value> ReadBack(const std::wstring& key, const std::wstring& name, REGSAM view,
                              DWORD restrictTo);

template <>
std::optional<std::wstring> ReadBack(const std::wstring& key, const std::wstring& name, REGSAM view,
                                     DWORD restrictTo) {
  wchar_t text[512] = {};
  DWORD size = sizeof text;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS)
    return std::nullopt;
  LSTATUS status = RegGetValueW(opened, nullptr, name.c_str(), restrictTo, nullptr, text, &size);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return std::wstring(text);
}

template <>
std::optional<DWORD> ReadBack(const std::wstring& key, const std::wstring& name, REGSAM view,
                              DWORD restrictTo) {
  DWORD number = 0;
  DWORD size = sizeof number;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS)
    return std::nullopt;
  LSTATUS status = RegGetValueW(opened, nullptr, name.c_str(), restrictTo, nullptr, &number, &size);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return number;
}

std::optional<std::wstring> ReadString32(const std::wstring& key, const std::wstring& name) {
  return ReadBack<std::wstring>(key, name, KEY_WOW64_32KEY, RRF_RT_REG_SZ);
}
std::optional<DWORD> ReadNumber32(const std::wstring& key, const std::wstring& name) {
  return ReadBack<DWORD>(key, name, KEY_WOW64_32KEY, RRF_RT_REG_DWORD);
}

class Win32RegistryTest : public testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    DeleteTestKey(KEY_WOW64_32KEY);
    DeleteTestKey(KEY_WOW64_64KEY);
  }
  Win32Registry registry;
};

TEST_F(Win32RegistryTest, WritesTextAndNumberIntoTheThirtyTwoBitViewCreatingTheKey) {
  const std::string key = std::string(kTestKey) + "\\Tarvexi\\Ombrel";
  const std::wstring wideKey = std::wstring(kTestKeyWide) + L"\\Tarvexi\\Ombrel";

  registry.SetString(key, "OMB_SPY", "C:\\PROGRA~1\\OMBREL\\SPY.EXE");
  registry.SetNumber(key, "SETUP", 1);
  registry.SetNumber(key, "RUNNING", 0xFFFFFFFFu);

  EXPECT_EQ(ReadString32(wideKey, L"OMB_SPY"), L"C:\\PROGRA~1\\OMBREL\\SPY.EXE");
  EXPECT_EQ(ReadNumber32(wideKey, L"SETUP"), 1u);
  EXPECT_EQ(ReadNumber32(wideKey, L"RUNNING"), 0xFFFFFFFFu);
  // The 64-bit view of SOFTWARE is a different key: nothing may land there.
  EXPECT_FALSE(ReadBack<DWORD>(wideKey, L"SETUP", KEY_WOW64_64KEY, RRF_RT_REG_DWORD));

  registry.SetNumber(key, "RUNNING", 4);  // a second write replaces the first
  EXPECT_EQ(ReadNumber32(wideKey, L"RUNNING"), 4u);
}

TEST_F(Win32RegistryTest, DeleteRemovesTheValueAndPassesSilentlyOverAMissingOne) {
  registry.SetString(kTestKey, "OMB_SPY", "C:\\SPY.EXE");
  registry.DeleteValue(kTestKey, "OMB_SPY");
  EXPECT_FALSE(ReadString32(kTestKeyWide, L"OMB_SPY"));

  EXPECT_NO_THROW(registry.DeleteValue(kTestKey, "OMB_SPY"));
  EXPECT_NO_THROW(registry.DeleteValue(std::string(kTestKey) + "\\Never\\Made", "OMB_SPY"));
}

// A volatile key only holds volatile keys, so a key below it cannot be created:
// a refusal that Windows and Wine both give without special rights.
TEST_F(Win32RegistryTest, ARefusedWriteFailsWithTheValueNameInItsText) {
  HKEY parent = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTestKeyWide, 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &parent, nullptr),
            ERROR_SUCCESS);
  HKEY volatileKey = nullptr;
  ASSERT_EQ(RegCreateKeyExW(parent, L"Volatile", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                            &volatileKey, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(volatileKey);
  RegCloseKey(parent);
  const std::string refused = std::string(kTestKey) + "\\Volatile\\Ombrel";

  try {
    registry.SetNumber(refused, "SETUP", 1);
    FAIL() << "the write was not refused";
  } catch (const AppError& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for 'SETUP'");
  }
  try {
    registry.SetString(refused, "OMB_SPY", "C:\\SPY.EXE");
    FAIL() << "the write was not refused";
  } catch (const AppError& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for 'OMB_SPY'");
  }
  EXPECT_NO_THROW(registry.DeleteValue(refused, "OMB_SPY"));
}

}  // namespace
