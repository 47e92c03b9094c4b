#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shlobj.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "platform/win32/AnsiText.h"
#include "platform/win32/Win32Dialogs.h"

namespace {

// What a user sees of a box that is up: found by class and title from another thread.
HWND WaitForDialog(const wchar_t* title) {
  for (int attempt = 0; attempt < 500; ++attempt) {
    if (HWND box = FindWindowW(L"#32770", title); box && IsWindowVisible(box)) return box;
    Sleep(20);
  }
  return nullptr;
}

bool WaitUntilGone(HWND box) {
  for (int attempt = 0; attempt < 250 && IsWindow(box); ++attempt) Sleep(20);
  return !IsWindow(box);
}

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

bool HasChildWithText(HWND window, const std::wstring& text) {
  struct Search {
    std::wstring text;
    bool found = false;
  } search{text};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) {
        auto& search = *reinterpret_cast<Search*>(data);
        if (lstrcmpiW(TextOf(child).c_str(), search.text.c_str()) == 0) search.found = true;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool HasIcon(HWND box) {
  bool found = false;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM found) {
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (lstrcmpiW(className, L"Static") == 0 &&
            (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
            SendMessageW(child, STM_GETICON, 0, 0))
          *reinterpret_cast<bool*>(found) = true;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FocusOfThreadOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus ? info.hwndFocus : window;
}

void PressKey(HWND box, WPARAM key) {
  HWND focus = FocusOfThreadOf(box);
  PostMessageW(focus, WM_KEYDOWN, key, 1);
  PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}

// Shows a box on this thread while `act` runs on another one once the box
// titled `title` is up. Should the action leave the box open, `rescue` is
// clicked so that the test ends (and fails) instead of waiting for ever.
struct BoxRun {
  bool found = false;
  bool closedByAction = false;
};

template <typename Show>
BoxRun RunWithBox(const wchar_t* title, Show show, std::function<void(HWND)> act, int rescue) {
  BoxRun run;
  std::thread user([&] {
    HWND box = WaitForDialog(title);
    run.found = box != nullptr;
    if (!box) return;
    act(box);
    run.closedByAction = WaitUntilGone(box);
    if (!run.closedByAction) {
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(rescue, BN_CLICKED), 0);
      WaitUntilGone(box);
    }
  });
  show();
  user.join();
  return run;
}

class ConfirmTest : public testing::Test {
 protected:
  // Asks the question and lets `act` answer it; checks what the box shows.
  int AskAndAnswer(std::function<void(HWND)> act, int rescue) {
    int answer = 0;
    auto checkAndAct = [&](HWND box) {
      EXPECT_TRUE(GetDlgItem(box, IDYES));
      EXPECT_TRUE(GetDlgItem(box, IDNO));
      EXPECT_FALSE(GetDlgItem(box, IDCANCEL));
      EXPECT_TRUE(HasIcon(box));
      EXPECT_EQ(GetWindowLongW(GetDlgItem(box, IDYES), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
      HMENU menu = GetSystemMenu(box, FALSE);
      ASSERT_TRUE(menu);
      EXPECT_FALSE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) << "close box disabled";
      act(box);
    };
    BoxRun run = RunWithBox(
        L"Confirm", [&] { answer = AskYesNo(nullptr, L"Do you want to cancel setup and exit Program ?"); },
        checkAndAct, rescue);
    EXPECT_TRUE(run.found) << "no box titled Confirm";
    EXPECT_TRUE(run.closedByAction) << "the box ignored the answer";
    return answer;
  }
};

TEST_F(ConfirmTest, EscapeAnswersNo) {
  EXPECT_EQ(AskAndAnswer([](HWND box) { PressKey(box, VK_ESCAPE); }, IDYES), IDNO);
}

TEST_F(ConfirmTest, CloseBoxAnswersNo) {
  EXPECT_EQ(AskAndAnswer([](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDYES), IDNO);
  EXPECT_EQ(AskAndAnswer([](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); }, IDYES), IDNO);
}

TEST_F(ConfirmTest, EnterAnswersYesAndTheNoButtonNo) {
  EXPECT_EQ(AskAndAnswer([](HWND box) { PressKey(box, VK_RETURN); }, IDNO), IDYES);
  EXPECT_EQ(AskAndAnswer([](HWND box) { PostMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0); }, IDYES), IDNO);
}

TEST_F(ConfirmTest, ShowsTheQuestionText) {
  std::wstring shown;
  AskAndAnswer(
      [&](HWND box) {
        shown = TextOf(GetDlgItem(box, 0xFFFF));
        PressKey(box, VK_ESCAPE);
      },
      IDYES);
  EXPECT_EQ(shown, L"Do you want to cancel setup and exit Program ?");
}

TEST(Win32DialogsBoxes, ConfirmIsYesOnlyForYes) {
  Win32Dialogs dialogs("OmbrelSetup");
  bool yes = false, no = true;
  RunWithBox(
      L"Confirm", [&] { yes = dialogs.Confirm("Do you want to apply new setup and exit Program ?"); },
      [](HWND box) { PostMessageW(GetDlgItem(box, IDYES), BM_CLICK, 0, 0); }, IDYES);
  RunWithBox(
      L"Confirm", [&] { no = dialogs.Confirm("Do you want to apply new setup and exit Program ?"); },
      [](HWND box) { PressKey(box, VK_ESCAPE); }, IDNO);
  EXPECT_TRUE(yes);
  EXPECT_FALSE(no);
}

TEST(Win32DialogsBoxes, TheWarningQuestionShowsTheWarningIconAndEscapeAnswersNo) {
  Win32Dialogs dialogs("OmbrelSetup");
  bool yes = false, no = true, warningIcon = false, yesIsDefault = false;
  const std::string question = "Detect UPS Communication port will take 5 - 30 seconds ! Do you want to continue ?";
  BoxRun asked = RunWithBox(
      L"Warning", [&] { yes = dialogs.AskWarning(question); },
      [&](HWND box) {
        HWND icon = FindWindowExW(box, nullptr, L"Static", nullptr);
        for (; icon; icon = FindWindowExW(box, icon, L"Static", nullptr))
          if (SendMessageW(icon, STM_GETICON, 0, 0) == reinterpret_cast<LRESULT>(LoadIconW(nullptr, IDI_WARNING)))
            warningIcon = true;
        yesIsDefault = (GetWindowLongW(GetDlgItem(box, IDYES), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        PressKey(box, VK_RETURN);
      },
      IDYES);
  RunWithBox(
      L"Warning", [&] { no = dialogs.AskWarning(question); }, [](HWND box) { PressKey(box, VK_ESCAPE); }, IDNO);
  ASSERT_TRUE(asked.found) << "no box titled Warning";
  EXPECT_TRUE(warningIcon);
  EXPECT_TRUE(yesIsDefault);
  EXPECT_TRUE(yes);
  EXPECT_FALSE(no);
}

TEST(Win32DialogsBoxes, MessageAndErrorAreTitledWithTheProgramNameAndHaveOneOkButton) {
  Win32Dialogs dialogs("OmbrelSetup");
  struct Seen {
    std::wstring text;
    bool ok = false, yes = false, icon = false;
  } message, error;
  auto look = [](Seen& seen) {
    return [&seen](HWND box) {
      seen.text = TextOf(GetDlgItem(box, 0xFFFF));
      seen.ok = GetDlgItem(box, IDOK) != nullptr;
      seen.yes = GetDlgItem(box, IDYES) != nullptr;
      seen.icon = HasIcon(box);
      PressKey(box, VK_RETURN);
    };
  };
  BoxRun shownMessage = RunWithBox(
      L"OmbrelSetup", [&] { dialogs.Message("Error, File not found : SAVE_BUTTON.bmp"); }, look(message),
      IDOK);
  BoxRun shownError = RunWithBox(
      L"OmbrelSetup", [&] { dialogs.Error("Failed to set data for 'SETUP'"); }, look(error), IDOK);

  ASSERT_TRUE(shownMessage.found && shownError.found);
  EXPECT_EQ(message.text, L"Error, File not found : SAVE_BUTTON.bmp");
  EXPECT_TRUE(message.ok && !message.yes);
  EXPECT_FALSE(message.icon);
  EXPECT_EQ(error.text, L"Failed to set data for 'SETUP'");
  EXPECT_TRUE(error.ok && !error.yes);
  EXPECT_TRUE(error.icon);
}

TEST(Win32DialogsBoxes, TheWarningIsTitledWithTheProgramNameAndHasAnIconAndOneOkButton) {
  Win32Dialogs dialogs("OmbrelSetup");
  std::wstring text;
  bool ok = false, yes = false, icon = false;
  BoxRun shown = RunWithBox(
      L"OmbrelSetup", [&] { dialogs.Warn("Anyone may change this folder: C:\\Legacy\\Ombrel\\"); },
      [&](HWND box) {
        text = TextOf(GetDlgItem(box, 0xFFFF));
        ok = GetDlgItem(box, IDOK) != nullptr;
        yes = GetDlgItem(box, IDYES) != nullptr;
        icon = HasIcon(box);
        PressKey(box, VK_RETURN);
      },
      IDOK);
  ASSERT_TRUE(shown.found);
  EXPECT_EQ(text, L"Anyone may change this folder: C:\\Legacy\\Ombrel\\");
  EXPECT_TRUE(ok && !yes);
  EXPECT_TRUE(icon);
}

TEST(Win32DialogsBrowse, ReturnsTheChosenFolderAndNothingOnCancel) {
  Win32Dialogs dialogs("OmbrelSetup");
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  bool promptShown = false, pathInStatus = false;

  std::optional<std::string> chosen;
  BoxRun picked = RunWithBox(
      L"Event Log Location",
      [&] { chosen = dialogs.BrowseForFolder("Select a folder", "Event Log Location"); },
      [&](HWND dialog) {
        promptShown = HasChildWithText(dialog, L"Select a folder");
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(windows));
        pathInStatus = HasChildWithText(dialog, windows);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      },
      IDCANCEL);
  ASSERT_TRUE(picked.found) << "no browse dialog with the given title";
  EXPECT_TRUE(promptShown);
  EXPECT_TRUE(pathInStatus) << "the status line does not show the highlighted folder";
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(lstrcmpiW(AnsiToWide(*chosen).c_str(), windows), 0) << *chosen;

  std::optional<std::string> cancelled = "not asked";
  BoxRun dismissed = RunWithBox(
      L"Data Log Location",
      [&] { cancelled = dialogs.BrowseForFolder("Select a folder", "Data Log Location"); },
      [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }, IDCANCEL);
  ASSERT_TRUE(dismissed.found);
  EXPECT_FALSE(cancelled.has_value());
}

}  // namespace
