// The installer's run of a program (installer/ChildProgram.cpp), with the
// test helper file_holder as the program: one that ends at once with a line
// and an exit code, one that never ends (it holds a file until told to stop),
// and one that does not exist.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "installer/ChildProgram.h"
#include "support/ScratchFolder.h"

namespace {

const std::wstring kHolder = OMBREL_FILE_HOLDER;

std::wstring Quoted(const std::wstring& text) {
  return L"\"" + text + L"\"";
}

TEST(ChildProgramTest, ItsOutputAndExitCodeOrWhyThereIsNone) {
  ScratchFolder folder;
  const std::string path = folder.Path();
  const std::wstring here(path.begin(), path.end());

  const ProgramRun wrong = RunProgram(kHolder, Quoted(kHolder) + L" one", here, 60000);
  EXPECT_EQ(wrong.exitCode, 2u);
  EXPECT_NE(wrong.output.find("usage: file_holder"), std::string::npos) << wrong.output;

  // Never ends on its own: ended at the limit, and said so.
  folder.Write("held", "bytes");
  const ULONGLONG start = GetTickCount64();
  const ProgramRun hung = RunProgram(
      kHolder, Quoted(kHolder) + L" " + Quoted(here + L"\\held") + L" r " + Quoted(here + L"\\copy"), here,
      1500);
  EXPECT_FALSE(hung.exitCode);
  EXPECT_NE(hung.failure.find(L"had not ended"), std::wstring::npos);
  EXPECT_LT(GetTickCount64() - start, 20000u);
  EXPECT_TRUE(folder.Exists("copy.held")) << "it ran in another folder or not at all";

  const std::wstring missing = here + L"\\missing.exe";
  const ProgramRun none = RunProgram(missing, Quoted(missing), here, 60000);
  EXPECT_FALSE(none.exitCode);
  EXPECT_NE(none.failure.find(L"(Windows error 2)"), std::wstring::npos);
  EXPECT_NE(none.failure.find(missing), std::wstring::npos);
}

}  // namespace
