// The main window's start asks who may change the program's folder, once the
// language is read, and warns in that language when every user may.
#include <filesystem>

#include "MainWindowFixture.h"
#include "support/FakeFolderRights.h"

namespace {

using Kind = FakeDialogs::Kind;

class FolderRightsStartTest : public MainWindowTest {
 protected:
  FakeFolderRights rights;

  void SetUp() override {
    folderRights = &rights;
    std::filesystem::create_directories(folder.File("Languages\\Mine"));
    folder.Write("Languages\\Mine\\setup.ini",
                 "[MESSAGE]\r\nMESSAGE_WARNING_FOLDER_OPEN_TO_ALL=Anyone may change this folder:\r\n");
    WriteSettings("[PAGE3]\r\nLANGUAGE=Mine\r\n");
  }
  std::vector<std::string> Warnings() const { return dialogs.TextsOf(Kind::Warn); }
};

}  // namespace

TEST_F(FolderRightsStartTest, AFolderEveryUserMayChangeGivesOneWarningInTheLanguageRead) {
  rights.list = std::vector<AccessEntry>{{true, AccessEntry::Trustee::Users, 0x1201bf, false}};
  Start();
  EXPECT_EQ(rights.asked, std::vector<std::string>{folder.Path() + "\\"});
  EXPECT_EQ(Warnings(), std::vector<std::string>{"Anyone may change this folder: " + folder.Path() + "\\"});
  EXPECT_TRUE(WindowOpen());
}

TEST_F(FolderRightsStartTest, AFolderOnlyAdministratorsMayChangeStartsWithoutAWarning) {
  rights.list = std::vector<AccessEntry>{{true, AccessEntry::Trustee::Other, 0x1f01ff, false},
                                         {true, AccessEntry::Trustee::Users, 0x1200a9, false}};
  Start();
  EXPECT_EQ(rights.asked.size(), 1u);
  EXPECT_TRUE(Warnings().empty());
}
