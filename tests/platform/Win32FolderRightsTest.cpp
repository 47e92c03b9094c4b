// A folder's access list as the security API gives it. Wine keeps a file's
// rights as its Unix mode: what Everyone may do is the mode's bits for
// others, and rights given to Users or Authenticated Users are not kept. So
// these tests give and take rights through Everyone; the entries of the
// other groups are held to the rule in FolderRightsWarningTest.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <string>

#include "app/FolderRightsWarning.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/Win32FolderRights.h"
#include "support/ScratchFolder.h"

namespace {

// Gives the folder the rights written in SDDL, as an administrator does on
// its Security page (not inherited from the folder above).
bool SetRights(const std::string& folder, const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr))
    return false;
  BOOL present = FALSE, defaulted = FALSE;
  PACL acl = nullptr;
  GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted);
  std::wstring path = AnsiToWide(folder);
  DWORD result = SetNamedSecurityInfoW(path.data(), SE_FILE_OBJECT,
                                       DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                       nullptr, acl, nullptr);
  LocalFree(descriptor);
  return result == ERROR_SUCCESS;
}

bool HasEntry(const std::vector<AccessEntry>& list, AccessEntry::Trustee who, uint32_t rights) {
  return std::any_of(list.begin(), list.end(), [&](const AccessEntry& entry) {
    return entry.allows && entry.trustee == who && (entry.rights & rights) == rights;
  });
}

constexpr uint32_t kWriteData = FILE_WRITE_DATA | FILE_APPEND_DATA;

}  // namespace

TEST(Win32FolderRights, EveryoneGivenModifyMakesTheFolderOpenAndReadingClosesItAgain) {
  ScratchFolder folder;
  Win32FolderRights rights;

  // Administrators and the system everything, everyone Modify.
  ASSERT_TRUE(SetRights(folder.Path(), L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;WD)"));
  auto open = rights.AccessList(folder.Path());
  ASSERT_TRUE(open.has_value());
  EXPECT_TRUE(HasEntry(*open, AccessEntry::Trustee::Everyone, kWriteData));
  EXPECT_TRUE(OpenToAllUsers(*open));

  // Everyone reading and running only.
  ASSERT_TRUE(SetRights(folder.Path(), L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;WD)"));
  auto closed = rights.AccessList(folder.Path());
  ASSERT_TRUE(closed.has_value());
  EXPECT_TRUE(HasEntry(*closed, AccessEntry::Trustee::Everyone, FILE_READ_DATA));
  EXPECT_FALSE(HasEntry(*closed, AccessEntry::Trustee::Everyone, FILE_WRITE_DATA));
  EXPECT_FALSE(OpenToAllUsers(*closed));
  // The system's own entry is nobody's of the three groups.
  EXPECT_TRUE(HasEntry(*closed, AccessEntry::Trustee::Other, FILE_ALL_ACCESS));
}

TEST(Win32FolderRights, AFolderThatIsNotThereHasNoList) {
  ScratchFolder folder;
  EXPECT_FALSE(Win32FolderRights().AccessList(folder.Path() + "\\missing").has_value());
}
