// The main window as a keyboard user and the window manager see it: focus, Tab, access keys,
// type-ahead, window state, the show command, system colours, the status column and high DPI.
// The exe runs in a folder of its own, so every test starts from the default settings.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/command_ids.h"
#include "dialogs/property_dialog_ids.h"
#include "window_driver.h"

namespace orv::e2e {
namespace {

constexpr wchar_t kFolder[] = L"C:\\OrvWindow";

HWND FocusOf(const AppWindow& app) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(app.Handle(), nullptr), &info);
  return info.hwndFocus;
}

int ColumnWidth(const AppWindow& app, int column) {
  return static_cast<int>(SendMessageW(app.Control(kIdProgramList), LVM_GETCOLUMNWIDTH, column, 0));
}

std::wstring IniValue(const wchar_t* section, const wchar_t* key) {
  wchar_t value[64] = {};
  GetPrivateProfileStringW(section, key, L"", value, 64, InFolder(kFolder, L"Orvalinde.ini").c_str());
  return value;
}

class MainWindowE2E : public ::testing::Test {
 protected:
  void SetUp() override { exe_ = FreshCopyOfExe(kFolder); }
  void TearDown() override {
    if (app.Running()) {
      EXPECT_TRUE(app.Close());
    }
  }
  void Start(WORD show = SW_SHOWDEFAULT) { ASSERT_TRUE(app.Start(exe_, show)) << "Orvalinde did not start"; }
  std::wstring exe_;
  AppWindow app;
};

TEST_F(MainWindowE2E, TheListHoldsTheFocusAndTheKeyboardReachesEveryControl) {
  Start();
  const HWND list = app.Control(kIdProgramList);
  EXPECT_EQ(FocusOf(app), list) << "the list has the focus at start-up";

  // Typing jumps to the next row whose name starts with the letters.
  app.PressKeys({'O'});
  app.PressKeys({'R'});
  app.PressKeys({'V'});
  app.PressKeys({'N'});
  ASSERT_GE(app.Selected(), 0);
  EXPECT_EQ(app.Cell(app.Selected(), 0), L"OrvNoName");

  // Tab and Shift+Tab move through the list, the enabled buttons and the tab strip.
  app.Select(RowOf(app, L"静音ドライバ"));  // only a quiet command: remove is enabled
  ASSERT_TRUE(IsWindowEnabled(app.Control(kIdRemoveButton)));
  app.PressKeys({VK_TAB});
  EXPECT_EQ(FocusOf(app), app.Control(kIdRemoveButton));
  app.PressKeys({VK_TAB});
  EXPECT_EQ(FocusOf(app), app.Control(kIdTabStrip));
  app.PressKeys({VK_SHIFT, VK_TAB});
  EXPECT_EQ(FocusOf(app), app.Control(kIdRemoveButton));
  app.PressKeys({VK_SHIFT, VK_TAB});
  EXPECT_EQ(FocusOf(app), list);

  // Alt+R presses "削除(&R)": a quiet-only entry asks first.
  app.PressKeys({VK_MENU, 'R'});
  HWND warning = app.FindDialog(L"警告");
  ASSERT_TRUE(warning) << "Alt+R did not press the remove button";
  AppWindow::Answer(warning, IDNO);
  WaitUntil([&] { return !IsWindow(warning); });

  // Coming back to the window gives the focus back to the control that had it.
  app.PressKeys({VK_TAB});
  ASSERT_EQ(FocusOf(app), app.Control(kIdRemoveButton));
  SendMessageW(app.Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  SendMessageW(app.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(FocusOf(app), app.Control(kIdRemoveButton));
}

TEST_F(MainWindowE2E, TheWatchWaitsWhileABoxIsOpenAndCatchesUpAfter) {
  Start();
  const int rows = app.RowCount();
  app.Select(RowOf(app, L"静音ドライバ"));
  PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdRemoveProgram, 0), 0);
  HWND warning = app.FindDialog(L"警告");
  ASSERT_TRUE(warning);
  // A program appears while the question is open: the list must not change under it.
  const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvWhileBoxOpen";
  const wchar_t name[] = L"箱の間に来たプログラム";
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, L"DisplayName", REG_SZ, name, sizeof name), ERROR_SUCCESS);
  struct Remove {
    const wchar_t* key;
    ~Remove() { RegDeleteKeyW(HKEY_CURRENT_USER, key); }
  } remove{key};
  Sleep(2500);  // more than two ticks of the watch
  EXPECT_EQ(app.RowCount(), rows);
  EXPECT_EQ(app.Cell(app.Selected(), 0), L"静音ドライバ");
  AppWindow::Answer(warning, IDNO);
  EXPECT_TRUE(WaitUntil([&] { return RowOf(app, name) >= 0; }, 5000)) << "the watch did not catch up";
}

TEST_F(MainWindowE2E, EveryCommandOfTheMenusIsBuilt) {
  Start();
  const int commands[] = {
      kCmdRemoveProgram, kCmdModifyProgram, kCmdRepairProgram, kCmdSaveProgList, kCmdOpenFolder,
      kCmdOpenURLInfoAbout, kCmdExecuteProgram, kCmdDisableChange, kCmdProperty, kCmdExit,
      kCmdTagNone, kCmdTag0, kCmdTag0 + 1, kCmdTag0 + 2, kCmdTag0 + 3, kCmdTag0 + 4, kCmdEditTag,
      kCmdFind, kCmdFindNext, kCmdFindPrev, kCmdCopyAppName, kCmdRename, kCmdEditComment,
      kCmdRemoveRegEntry, kCmdDeleteSlowInfoCache, kCmdStngLoadIcon, kCmdStngGridLine,
      kCmdStngStripe, kCmdStngSysComp, kCmdDispItemSetting, kCmdGoNextTab, kCmdGoPrevTab,
      kCmdRefresh, kCmdHomePage, kCmdVersion};
  for (int command : commands) {
    EXPECT_TRUE(app.Built(command)) << command;
    for (int menu : {0, 1}) {
      if (menu == 1 && app.MenuState(command, 1) < 0) continue;  // not in the context menu
      EXPECT_GE(app.MenuState(command, menu), 0) << command;
    }
  }
}

TEST_F(MainWindowE2E, ATabSwitchStartsAtTheTop) {
  Start();
  // Small enough that the first tab scrolls.
  SetWindowPos(app.Handle(), nullptr, 0, 0, 500, 190, SWP_NOZORDER | SWP_NOMOVE);
  const HWND list = app.Control(kIdProgramList);
  const int last = app.RowCount() - 1;
  SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(last), FALSE);
  ASSERT_GT(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 0) << "the list did not scroll";
  app.Command(kCmdGoNextTab);
  app.Command(kCmdGoPrevTab);
  EXPECT_EQ(app.Selected(), 0);
  EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 0);
}

TEST_F(MainWindowE2E, ClosingMinimisedStoresTheNormalSizeAndTheMaximisedState) {
  Start();
  SetWindowPos(app.Handle(), nullptr, 0, 0, 640, 430, SWP_NOZORDER | SWP_NOMOVE);
  ShowWindow(app.Handle(), SW_MINIMIZE);
  ASSERT_TRUE(app.Close());
  EXPECT_EQ(IniValue(L"FormPos", L"Width"), L"640");
  EXPECT_EQ(IniValue(L"FormPos", L"Height"), L"430");
  EXPECT_EQ(IniValue(L"FormPos", L"Maximized"), L"0");

  app = AppWindow();
  Start();
  ShowWindow(app.Handle(), SW_MAXIMIZE);
  ShowWindow(app.Handle(), SW_MINIMIZE);
  ASSERT_TRUE(app.Close());
  EXPECT_EQ(IniValue(L"FormPos", L"Maximized"), L"1");
  EXPECT_EQ(IniValue(L"FormPos", L"Width"), L"640");  // the normal size stays as it was

  // The next start opens maximised, as it was left.
  app = AppWindow();
  Start();
  EXPECT_TRUE(IsZoomed(app.Handle()));
}

TEST_F(MainWindowE2E, TheShowCommandOfTheShortcutIsHonoured) {
  Start(SW_SHOWMINNOACTIVE);
  EXPECT_TRUE(IsIconic(app.Handle()));
  ASSERT_TRUE(app.Close());
  EXPECT_EQ(IniValue(L"FormPos", L"Width"), L"720") << "a minimised start keeps the normal size";
  app = AppWindow();
  Start(SW_SHOWMAXIMIZED);
  EXPECT_TRUE(IsZoomed(app.Handle()));
}

TEST_F(MainWindowE2E, AStripeColourMayNameASystemColour) {
  // 0xFF00000F: the button face colour of the system.
  WritePrivateProfileStringW(L"Option", L"StripeColor", L"-16777201", InFolder(kFolder, L"Orvalinde.ini").c_str());
  WritePrivateProfileStringW(L"Option", L"Stripe", L"1", InFolder(kFolder, L"Orvalinde.ini").c_str());
  WritePrivateProfileStringW(L"Option", L"GridLine", L"0", InFolder(kFolder, L"Orvalinde.ini").c_str());
  Start();
  ASSERT_EQ(app.Selected(), -1);
  RECT rect = app.CellScreenRect(0, 2);
  rect.right = rect.left + 200;
  std::map<std::uint32_t, int> counts;
  for (std::uint32_t pixel : ScreenPixels(rect)) ++counts[pixel];
  std::uint32_t most = 0;
  int best = 0;
  for (auto [pixel, count] : counts)
    if (count > best) best = count, most = pixel;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(most, (static_cast<std::uint32_t>(GetRValue(face)) << 16) |
                      (static_cast<std::uint32_t>(GetGValue(face)) << 8) | GetBValue(face));
}

TEST_F(MainWindowE2E, TheStatusColumnStaysSixteenPixelsWide) {
  Start();
  const HWND list = app.Control(kIdProgramList);
  ASSERT_EQ(ColumnWidth(app, 1), 16);
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, 100);
  EXPECT_EQ(ColumnWidth(app, 1), 16);
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
  EXPECT_EQ(ColumnWidth(app, 1), 16);
  // Where the list sizes every column to fit on Ctrl+Numpad+, the status column stays.
  app.PressKeys({VK_CONTROL, VK_ADD});
  EXPECT_EQ(ColumnWidth(app, 1), 16);
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 2, 100);  // the others stay free
  EXPECT_EQ(ColumnWidth(app, 2), 100);
}

// The system at 144 DPI for the processes started meanwhile: Wine reads the setting when a
// process starts.
class HighDpi {
 public:
  HighDpi() {
    DWORD dpi = 144;
    RegSetKeyValueW(HKEY_CURRENT_CONFIG, L"Software\\Fonts", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
  }
  ~HighDpi() {
    DWORD dpi = 96;
    RegSetKeyValueW(HKEY_CURRENT_CONFIG, L"Software\\Fonts", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
  }
  HighDpi(const HighDpi&) = delete;
  HighDpi& operator=(const HighDpi&) = delete;
};

TEST_F(MainWindowE2E, SizesAreKeptAt96DpiAndShownAtTheWindowsDpi) {
  HighDpi dpi;
  Start();
  EXPECT_EQ(ColumnWidth(app, 0), 450);  // "プログラム", 300 at 96 DPI
  EXPECT_EQ(ColumnWidth(app, 1), 24);   // the status column's 16
  RECT outer{};
  GetWindowRect(app.Handle(), &outer);
  EXPECT_EQ(outer.right - outer.left, 1080);
  EXPECT_EQ(outer.bottom - outer.top, 750);

  SendMessageW(app.Control(kIdProgramList), LVM_SETCOLUMNWIDTH, 0, 600);
  ASSERT_TRUE(app.Close());
  EXPECT_EQ(IniValue(L"Column", L"Width0"), L"400");
  EXPECT_EQ(IniValue(L"FormPos", L"Width"), L"720");
  app = AppWindow();
  Start();
  EXPECT_EQ(ColumnWidth(app, 0), 600);
}

// Every window of the program on its monitor's work area at 144 DPI on the 1280x800 screen,
// where the property window's design is taller than the screen: made to fit, its close button
// inside its client area and on the screen.
TEST_F(MainWindowE2E, EveryWindowFitsTheWorkAreaAt144Dpi) {
  HighDpi dpi;
  Start();
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  auto inside = [&](HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom;
  };
  EXPECT_TRUE(inside(app.Handle()));
  app.Select(0);
  app.Command(kCmdProperty);
  HWND property = app.FindDialog(L"プロパティ");
  ASSERT_NE(property, nullptr);
  EXPECT_TRUE(inside(property)) << "the property window hangs over the work area";
  RECT client{}, close{};
  GetClientRect(property, &client);
  GetWindowRect(GetDlgItem(property, IDOK), &close);
  MapWindowPoints(nullptr, property, reinterpret_cast<POINT*>(&close), 2);
  EXPECT_GE(close.top, 0);
  EXPECT_LE(close.bottom, client.bottom) << "\"閉じる\" is cut off";
  EXPECT_LE(close.right, client.right);
  // The page's list stays inside the page that holds it.
  HWND details = GetDlgItem(property, IDC_PROPERTY_DETAILS);
  RECT page{}, list{};
  GetClientRect(details, &page);
  GetWindowRect(GetDlgItem(details, IDC_DETAILS_FILELIST), &list);
  MapWindowPoints(nullptr, details, reinterpret_cast<POINT*>(&list), 2);
  EXPECT_LE(list.bottom, page.bottom);
  AppWindow::Answer(property, IDOK);
  // The modal dialogs, each from its command.
  for (auto [command, caption] : {std::pair{kCmdFind, L"検索"}, {kCmdVersion, L"バージョン情報"},
                                  {kCmdDispItemSetting, L"表示項目の設定"}, {kCmdEditTag, L"タグの設定"}}) {
    PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    HWND dialog = app.FindDialog(caption);
    ASSERT_NE(dialog, nullptr) << command;
    EXPECT_TRUE(inside(dialog)) << command;
    AppWindow::Answer(dialog, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << command;
  }
}

// The buttons show their commands' hints when the mouse rests on them.
TEST_F(MainWindowE2E, TheButtonsShowTheirHints) {
  Start();
  DWORD process = 0;
  GetWindowThreadProcessId(app.Handle(), &process);
  std::vector<std::wstring> hints;
  for (HWND tip = nullptr; (tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) != nullptr;) {
    DWORD owner = 0;
    GetWindowThreadProcessId(tip, &owner);
    if (owner != process || GetWindow(tip, GW_OWNER) != app.Handle()) continue;
    for (int id : {kIdRemoveButton, kIdModifyButton}) {
      // The tool's text, read back through the tooltip's own message, across the process.
      HANDLE target = app.Process();
      RemoteBuffer buffer(target, sizeof(TTTOOLINFOW) + 512);
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof tool;
      tool.hwnd = app.Handle();
      tool.uId = reinterpret_cast<UINT_PTR>(app.Control(id));
      tool.lpszText = static_cast<wchar_t*>(buffer.At(sizeof tool));
      buffer.Write(0, &tool, sizeof tool);
      SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(buffer.At(0)));
      wchar_t text[256] = {};
      buffer.Read(sizeof tool, text, sizeof text - sizeof(wchar_t));
      hints.push_back(text);
    }
  }
  EXPECT_EQ(hints, (std::vector<std::wstring>{L"削除", L"変更"}));

  // Shown also over a disabled button, when the mouse rests on it.
  app.Select(RowOf(app, L"静音ドライバ"));  // only a quiet command: modify is disabled
  HWND modify = app.Control(kIdModifyButton);
  ASSERT_FALSE(IsWindowEnabled(modify));
  RECT r{};
  GetWindowRect(modify, &r);
  auto moveTo = [](int x, int y) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
  };
  SetForegroundWindow(app.Handle());
  moveTo((r.left + r.right) / 2 - 3, (r.top + r.bottom) / 2);
  Sleep(100);
  moveTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  auto shown = [&] {
    for (HWND tip = nullptr; (tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) != nullptr;) {
      DWORD owner = 0;
      GetWindowThreadProcessId(tip, &owner);
      if (owner == process && IsWindowVisible(tip) && app.Text(tip) == L"変更") return true;
    }
    return false;
  };
  EXPECT_TRUE(WaitUntil(shown, 5000)) << "no hint over the disabled button";
  moveTo(0, 0);
}

}  // namespace
}  // namespace orv::e2e
