// No GDI or USER object may leak: the counts stay the same across 100 full refreshes, 50
// openings of the property window, every dialog and message box, and 100 tag and lock changes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/command_ids.h"
#include "window_driver.h"

namespace orv::e2e {
namespace {

// The count when the window is idle: the lowest of a few readings, as a reading taken mid-paint
// also counts the buffers and brushes that painting holds for a moment.
AppWindow::GuiObjects IdleCount(const AppWindow& app) {
  UpdateWindow(app.Handle());
  AppWindow::GuiObjects lowest = app.CountGuiObjects();
  for (int i = 0; i < 5; ++i) {
    Sleep(50);
    SendMessageW(app.Handle(), WM_NULL, 0, 0);
    const auto now = app.CountGuiObjects();
    if (now.gdi < lowest.gdi) lowest = now;
  }
  return lowest;
}

// The count once the window has settled, down to `before` if it comes back there: painting holds
// a few objects for a moment, a leak never comes back down.
AppWindow::GuiObjects SettledCount(const AppWindow& app, const AppWindow::GuiObjects& before) {
  UpdateWindow(app.Handle());
  AppWindow::GuiObjects now;
  WaitUntil([&] {
    SendMessageW(app.Handle(), WM_NULL, 0, 0);  // the window has handled what was sent
    now = app.CountGuiObjects();
    return now.gdi <= before.gdi;
  }, 3000);
  return now;
}

void ExpectSame(const AppWindow::GuiObjects& now, const AppWindow::GuiObjects& before,
                const char* after) {
  ASSERT_GT(before.gdi, 0) << "the GDI object count could not be read";
  std::string types;  // by type: which kind of object changed
  for (const auto& [type, count] : now.gdiByType)
    types += " " + std::to_string(type) + ":" + std::to_string(count);
  types += " (before:";
  for (const auto& [type, count] : before.gdiByType)
    types += " " + std::to_string(type) + ":" + std::to_string(count);
  EXPECT_EQ(now.gdi, before.gdi) << "GDI objects after " << after << "; by type" << types << ")";
  if (before.user >= 0) {
    EXPECT_EQ(now.user, before.user) << "USER objects after " << after;
  } else {
    ::testing::Test::RecordProperty("user_objects", "not countable on this system");
  }
}

// Runs `work` and expects the counts it began with. The system's own caches (Wine keeps a pool
// of device contexts that grows when several are in use at once) may grow a little once, at a
// moment that depends on timing; then `work` runs again from there: a leak grows every time.
template <typename Work>
void ExpectNoGrowth(const AppWindow& app, Work work, const char* what) {
  AppWindow::GuiObjects before = IdleCount(app);
  work();
  if (::testing::Test::HasFatalFailure()) return;
  AppWindow::GuiObjects after = SettledCount(app, before);
  if (after.gdi == before.gdi && after.user == before.user) return;
  before = IdleCount(app);
  work();
  if (::testing::Test::HasFatalFailure()) return;
  ExpectSame(SettledCount(app, before), before, what);
}

std::wstring Caption(HWND window) {
  wchar_t text[128] = {};
  GetWindowTextW(window, text, 128);
  return text;
}

TEST(GuiResourcesE2E, CountsStayTheSameAcross100Refreshes) {
  AppWindow app;
  ASSERT_TRUE(app.Start(ExePath()));
  // Icons on: every refresh loads the status marks and extracts program icons.
  app.Command(kCmdStngLoadIcon);
  app.Command(kCmdStngStripe);
  // Warm up every path once, so one-time caches of the controls are not counted as leaks.
  for (int i = 0; i < 5; ++i) {
    app.Command(kCmdRefresh);
    app.Command(kCmdGoNextTab);
    app.Command(kCmdGoPrevTab);
  }
  const AppWindow::GuiObjects before = IdleCount(app);
  for (int i = 0; i < 100; ++i) {
    app.Command(kCmdRefresh);
    if (i % 10 == 0) {
      app.Command(kCmdGoNextTab);
      app.Command(kCmdGoPrevTab);
    }
  }
  ExpectSame(SettledCount(app, before), before, "100 refreshes");
  app.Command(kCmdStngLoadIcon);  // leave the settings as the other tests expect them
  app.Command(kCmdStngStripe);
  EXPECT_TRUE(app.Close());
}

// Its own exe folder: the tag and lock changes save marks that no other test may see.
class GuiResourcesMarksE2E : public ::testing::Test {
 protected:
  static constexpr const wchar_t* kFolder = L"C:\\OrvGuiCounts";
  void SetUp() override { ASSERT_TRUE(app.Start(FreshCopyOfExe(kFolder))); }
  void TearDown() override { EXPECT_TRUE(app.Close()); }

  bool SelectProgram(const std::wstring& name) {
    const int row = RowOf(app, name);
    if (row < 0) return false;
    app.Select(row);
    return app.Selected() == row;
  }

  // Opens the property window on every row in turn and closes it with "閉じる".
  void OpenAndCloseProperties(int times) {
    const int rows = app.RowCount();
    for (int i = 0; i < times; ++i) {
      app.Select(i % rows);
      app.Command(kCmdProperty);
      HWND window = app.FindDialog(L"プロパティ");
      ASSERT_NE(window, nullptr) << "opening " << i;
      // Each page shown once, as a click on its tab shows it.
      HWND tabs = FindWindowExW(window, nullptr, L"SysTabControl32", nullptr);
      ASSERT_NE(tabs, nullptr);
      for (int page : {1, 2, 0}) SendMessageW(tabs, TCM_SETCURFOCUS, page, 0);
      SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); })) << "opening " << i;
    }
  }

  // Every dialog and message box a command of the main window opens, each closed unchanged.
  void OpenAndCloseEveryDialog() {
    struct Case {
      int command;
      const wchar_t* caption;  // nullptr: the system's own caption (the save dialog)
      int answer;
    };
    const Case cases[] = {
        {kCmdFind, L"検索", IDCANCEL},
        {kCmdVersion, L"バージョン情報", IDOK},
        {kCmdDispItemSetting, L"表示項目の設定", IDCANCEL},
        {kCmdEditTag, L"タグの設定", IDCANCEL},
        {kCmdRename, L"Rename", IDCANCEL},
        {kCmdEditComment, L"メモを編集", IDCANCEL},
        {kCmdSaveProgList, nullptr, IDCANCEL},
        {kCmdRemoveRegEntry, L"警告", IDCANCEL},
        {kCmdDeleteSlowInfoCache, L"警告", IDCANCEL},
    };
    for (const Case& c : cases) {
      ASSERT_TRUE(app.Enabled(c.command)) << "command " << c.command;
      PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(c.command, 0), 0);
      HWND dialog = app.DialogWith(0);
      ASSERT_NE(dialog, nullptr) << "command " << c.command << " opened nothing";
      if (c.caption) {
        EXPECT_EQ(Caption(dialog), c.caption);
      }
      AppWindow::Answer(dialog, c.answer);
      ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "command " << c.command;
      SendMessageW(app.Handle(), WM_NULL, 0, 0);
    }
  }

  // Tags 0..4 and the lock in turn, `times` changes in all; the row ends without a tag and with
  // its lock as it began.
  void ChangeMarks(int times) {
    int locks = 0;
    for (int i = 0; i < times; ++i) {
      const bool lock = i % 2 != 0;
      app.Command(lock ? kCmdDisableChange : kCmdTag0 + (i / 2) % 5);
      locks += lock;
    }
    if (locks % 2 != 0) app.Command(kCmdDisableChange);
    app.Command(kCmdTagNone);
  }

  AppWindow app;
};

TEST_F(GuiResourcesMarksE2E, CountsStayTheSameAcrossPropertiesDialogsAndMarks) {
  // The MSI product has a file list and patches to show; the user's entry has every command.
  ASSERT_TRUE(SelectProgram(L"付箋メモ帳"));
  // Warm up: the first opening of each window loads its classes, fonts and the shell's caches.
  OpenAndCloseProperties(app.RowCount());
  ASSERT_TRUE(SelectProgram(L"付箋メモ帳"));
  OpenAndCloseEveryDialog();
  ChangeMarks(10);
  ASSERT_FALSE(HasFailure());

  ExpectNoGrowth(app, [&] { OpenAndCloseProperties(50); }, "50 openings of the property window");
  ASSERT_TRUE(SelectProgram(L"付箋メモ帳"));
  ExpectNoGrowth(app, [&] { for (int round = 0; round < 3; ++round) OpenAndCloseEveryDialog(); },
                 "every dialog, three times");
  ExpectNoGrowth(app, [&] { ChangeMarks(100); }, "100 tag and lock changes");
}

}  // namespace
}  // namespace orv::e2e
