// The warning at start when every user may change the program's folder:
// which access lists count as open, and the one box it gives. Portable: runs
// natively and under Wine.
#include "app/FolderRightsWarning.h"

#include <gtest/gtest.h>

#include "support/FakeDialogs.h"
#include "support/FakeFolderRights.h"

namespace {

using Trustee = AccessEntry::Trustee;

// The masks Windows writes for the rights its security page shows.
constexpr uint32_t kReadAndExecute = 0x1200a9;
constexpr uint32_t kWrite = 0x100116;           // Write alone
constexpr uint32_t kReadWrite = 0x1201bf;       // Read & execute and Write
constexpr uint32_t kModify = 0x1301bf;
constexpr uint32_t kFullControl = 0x1f01ff;
constexpr uint32_t kCreateFolders = 0x000004;   // "Create folders / append data"
constexpr uint32_t kChangePermissions = 0x040000;
constexpr uint32_t kGenericAll = 0x10000000;

AccessEntry Allow(Trustee who, uint32_t rights) { return {true, who, rights, false}; }
AccessEntry Deny(Trustee who, uint32_t rights) { return {false, who, rights, false}; }

// What a folder under Program Files grants: administrators and the system
// everything, users reading.
std::vector<AccessEntry> ProgramFilesList() {
  return {Allow(Trustee::Other, kFullControl), Allow(Trustee::Other, kFullControl),
          Allow(Trustee::Users, kReadAndExecute), Allow(Trustee::Everyone, kReadAndExecute)};
}

}  // namespace

TEST(FolderRights, AnyChangeRightOfAllUsersOpensTheFolder) {
  for (Trustee who : {Trustee::Everyone, Trustee::Users, Trustee::AuthenticatedUsers}) {
    for (uint32_t rights : {kWrite, kReadWrite, kModify, kFullControl, kCreateFolders, kChangePermissions,
                            kGenericAll}) {
      SCOPED_TRACE(testing::Message() << "trustee " << static_cast<int>(who) << " rights 0x" << std::hex << rights);
      std::vector<AccessEntry> list = ProgramFilesList();
      list.push_back(Allow(who, rights));
      EXPECT_TRUE(OpenToAllUsers(list));
    }
  }
}

TEST(FolderRights, ReadingForAllAndChangingForAdministratorsLeaveItClosed) {
  EXPECT_FALSE(OpenToAllUsers(ProgramFilesList()));
  EXPECT_FALSE(OpenToAllUsers({}));
  // Another account or group with every right: not every user.
  EXPECT_FALSE(OpenToAllUsers({Allow(Trustee::Other, kFullControl), Allow(Trustee::Other, kGenericAll)}));
}

TEST(FolderRights, EntriesForWhatIsMadeInsideDoNotCount) {
  // "Subfolders and files only": the folder itself stays closed.
  AccessEntry inside = Allow(Trustee::Users, kFullControl);
  inside.inheritOnly = true;
  EXPECT_FALSE(OpenToAllUsers({Allow(Trustee::Users, kReadAndExecute), inside}));
}

TEST(FolderRights, ADenialBeforeTheGrantKeepsItClosedOnlyForTheRightsItDenies) {
  EXPECT_FALSE(OpenToAllUsers({Deny(Trustee::Everyone, kModify), Allow(Trustee::Users, kModify)}));
  // Denied after the grant: the grant is found first, as the system finds it.
  EXPECT_TRUE(OpenToAllUsers({Allow(Trustee::Users, kModify), Deny(Trustee::Users, kModify)}));
  // Writing denied, changing the rights still granted.
  EXPECT_TRUE(OpenToAllUsers({Deny(Trustee::Users, kReadWrite), Allow(Trustee::Users, kFullControl)}));
}

TEST(FolderRightsWarning, OneWarningBoxNamesTheFolderInTheLanguageInUse) {
  FakeFolderRights rights;
  rights.list = ProgramFilesList();
  rights.list->push_back(Allow(Trustee::AuthenticatedUsers, kModify));
  FakeDialogs dialogs;
  TINI_LANGUAGE language;
  language.MESSAGE_WARNING_FOLDER_OPEN_TO_ALL = "Dieser Ordner ist offen:";

  WarnIfFolderOpenToAllUsers(rights, dialogs, language, "C:\\Legacy\\Ombrel\\");

  EXPECT_EQ(rights.asked, std::vector<std::string>{"C:\\Legacy\\Ombrel\\"});
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0],
            (FakeDialogs::Shown{FakeDialogs::Kind::Warn, "Dieser Ordner ist offen: C:\\Legacy\\Ombrel\\"}));
}

TEST(FolderRightsWarning, ClosedOrUnreadableRightsShowNothing) {
  FakeDialogs dialogs;
  TINI_LANGUAGE language;
  FakeFolderRights closed;
  closed.list = ProgramFilesList();
  WarnIfFolderOpenToAllUsers(closed, dialogs, language, "C:\\Program Files\\Ombrel\\");
  FakeFolderRights unreadable;
  unreadable.list = std::nullopt;
  WarnIfFolderOpenToAllUsers(unreadable, dialogs, language, "C:\\Program Files\\Ombrel\\");
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(unreadable.asked.size(), 1u);
}
