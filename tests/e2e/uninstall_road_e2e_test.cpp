// The road of one uninstall against real installers: select, "削除(&R)", the real uninstaller
// removes its entry, and the watch drops the row without F5. Also the messages on the way,
// the enabling of the commands, header sorting and the settings file.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/command_ids.h"
#include "window_driver.h"

namespace orv::e2e {
namespace {

const wchar_t* kMsiKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{4F2C9A71-3B5D-4E8A-9C61-7D2E5B3A1F08}";

// Programs planted where a launch that let the system parse or search would find them: an
// unquoted "C:\\Program Files\\..." tries "C:\\Program.exe" first, and a bare "msiexec.exe" is
// searched for in the exe's own folder first. Each leaves "<path>.ran" if it is ever started.
class PlantedPrograms {
 public:
  PlantedPrograms() {
    const wchar_t* marker = _wgetenv(L"ORV_E2E_MARKER");
    std::wstring exe = ExePath();
    paths_ = {L"C:\\Program.exe", exe.substr(0, exe.find_last_of(L'\\') + 1) + L"msiexec.exe"};
    for (const std::wstring& path : paths_) {
      DeleteFileW((path + L".ran").c_str());
      planted_ = marker && CopyFileW(marker, path.c_str(), FALSE) && planted_;
    }
  }
  ~PlantedPrograms() {
    for (const std::wstring& path : paths_) {
      DeleteFileW(path.c_str());
      DeleteFileW((path + L".ran").c_str());
    }
  }
  bool Planted() const { return planted_; }
  // The planted programs that were started.
  std::wstring Ran() const {
    std::wstring ran;
    for (const std::wstring& path : paths_)
      if (GetFileAttributesW((path + L".ran").c_str()) != INVALID_FILE_ATTRIBUTES) ran += path + L" ";
    return ran;
  }

 private:
  std::vector<std::wstring> paths_;
  bool planted_ = true;
};

class UninstallRoadE2E : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.Start(ExePath())) << "Orvalinde did not start"; }
  void TearDown() override {
    if (app.Running()) {
      EXPECT_TRUE(app.Close());
    }
  }
  bool Select(const std::wstring& name) {
    int row = RowOf(app, name);
    if (row < 0) return false;
    app.Select(row);
    return app.Selected() == row;
  }
  AppWindow app;
};

TEST_F(UninstallRoadE2E, EnablingFollowsTheSelectedEntry) {
  struct Case {
    const wchar_t* name;
    bool remove, modify, repair, page;
  };
  const Case cases[] = {
      {L"付箋メモ帳", true, false, false, false},               // an UninstallString
      {L"表計算アドイン 2026", true, true, true, false},         // Windows Installer
      {L"静音ドライバ", true, false, false, false},              // only a quiet command
      {L"OrvNoName", false, false, false, false},                // nothing to run
      {L"Orv NSIS デモ", true, false, false, false},             // "NoRepair" = 1, no MSI
      {L"写真ビューア Lumière", true, false, false, true},       // a publisher page
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Select(c.name));
    EXPECT_EQ(app.Enabled(kCmdRemoveProgram), c.remove) << c.name;
    EXPECT_EQ(app.Enabled(kCmdModifyProgram), c.modify) << c.name;
    EXPECT_EQ(app.Enabled(kCmdRepairProgram), c.repair) << c.name;
    EXPECT_EQ(IsWindowEnabled(app.Control(kIdRemoveButton)) != FALSE, c.remove) << c.name;
    EXPECT_EQ(IsWindowEnabled(app.Control(kIdModifyButton)) != FALSE, c.modify) << c.name;
    EXPECT_FALSE(app.Checked(kCmdDisableChange)) << c.name;
    EXPECT_TRUE(app.Enabled(kCmdRefresh));
  }
}

TEST_F(UninstallRoadE2E, RealUninstallersRemoveTheirRowsWithoutF5) {
  PlantedPrograms planted;
  ASSERT_TRUE(planted.Planted());
  // The NSIS uninstaller, through the entry's own UninstallString, stored unquoted as many
  // installers write it: the path has a blank, and C:\\Program.exe exists.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                          L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvNsisDemo", 0,
                          KEY_SET_VALUE | KEY_WOW64_64KEY, &key),
            ERROR_SUCCESS);
  const std::wstring unquoted = L"C:\\Program Files\\OrvNsisDemo\\uninstall.exe";
  ASSERT_EQ(RegSetValueExW(key, L"UninstallString", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(unquoted.c_str()),
                           static_cast<DWORD>((unquoted.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  RegCloseKey(key);
  const int before = app.RowCount();
  ASSERT_TRUE(Select(L"Orv NSIS デモ"));
  const int position = app.Selected();
  app.Command(kCmdRemoveProgram);
  ASSERT_TRUE(WaitUntil([&] { return RowOf(app, L"Orv NSIS デモ") < 0; }, 15000))
      << "the row stayed after the NSIS uninstaller ran";
  EXPECT_EQ(app.RowCount(), before - 1);
  EXPECT_EQ(app.Selected(), position);  // the same row position stays selected
  EXPECT_EQ(planted.Ran(), L"");
}

TEST_F(UninstallRoadE2E, WindowsInstallerEntryIsRemovedWithMsiexec) {
  // Wine registers "MsiExec.exe /I{code}", which would reinstall; without a usable string the
  // program falls back to "msiexec.exe /x " and the product code, started from the system
  // folder and never from the planted copy beside the exe.
  PlantedPrograms planted;
  ASSERT_TRUE(planted.Planted());
  ASSERT_TRUE(app.Close());
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMsiKey, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key),
            ERROR_SUCCESS);
  RegDeleteValueW(key, L"UninstallString");
  RegCloseKey(key);
  ASSERT_TRUE(app.Start(ExePath()));
  const int before = app.RowCount();
  ASSERT_TRUE(Select(L"Orv MSI Sample"));
  app.Command(kCmdRemoveProgram);
  ASSERT_TRUE(WaitUntil([&] { return RowOf(app, L"Orv MSI Sample") < 0; }, 30000))
      << "the row stayed after msiexec /x ran";
  EXPECT_EQ(app.RowCount(), before - 1);
  EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMsiKey, 0, KEY_READ | KEY_WOW64_64KEY, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(planted.Ran(), L"");
}

TEST_F(UninstallRoadE2E, QuietOnlyEntryAsksFirstAndNoStartsNothing) {
  ASSERT_TRUE(Select(L"静音ドライバ"));
  PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdRemoveProgram, 0), 0);
  HWND warning = app.FindDialog(L"警告");
  ASSERT_NE(warning, nullptr);
  EXPECT_EQ(AppWindow::DialogText(warning),
            L"注意: このプログラムはサイレントモードで削除されます。ダイアログなどは表示されません。\r\n続行しますか?");
  AppWindow::Answer(warning, IDNO);
  // The quiet command names a missing program: had it been started, the launch error would show.
  EXPECT_EQ(app.FindDialog(L"エラー", 1500), nullptr);
  EXPECT_TRUE(WaitUntil([&] { return app.FindDialog(L"警告", 0) == nullptr; }));

  // Yes starts it: here that is the launch error for the missing program.
  PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdRemoveProgram, 0), 0);
  warning = app.FindDialog(L"警告");
  ASSERT_NE(warning, nullptr);
  AppWindow::Answer(warning, IDYES);
  HWND error = app.FindDialog(L"エラー");
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(AppWindow::DialogText(error),
            L"プログラムを起動できません。 \r\nC:\\Drivers\\quiet\\remove.exe /S");
  AppWindow::Answer(error, IDOK);
}

TEST_F(UninstallRoadE2E, MissingProgramAndUnknownCommandsShowTheirErrors) {
  ASSERT_TRUE(Select(L"写真ビューア Lumière"));
  const int before = app.RowCount();
  PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdRemoveProgram, 0), 0);
  HWND error = app.FindDialog(L"エラー");
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(AppWindow::DialogText(error),
            L"プログラムを起動できません。 \r\nC:\\Program Files\\PhotoViewer\\uninstall.exe");
  AppWindow::Answer(error, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return app.FindDialog(L"エラー", 0) == nullptr; }));
  EXPECT_EQ(app.RowCount(), before);
  // A command that is disabled does not run, even when posted.
  ASSERT_TRUE(Select(L"OrvNoName"));
  PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdRemoveProgram, 0), 0);
  EXPECT_EQ(app.FindDialog(L"エラー", 1000), nullptr);
}

TEST_F(UninstallRoadE2E, HeaderClicksSortBothWaysWithTheTriangle) {
  // Start-up sorts ascending by the program name.
  auto names = app.Column(0);
  auto byLocale = [](const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_LESS_THAN;
  };
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), byLocale));
  EXPECT_EQ(app.HeaderImage(0), 0);
  EXPECT_EQ(app.HeaderImage(2), 2);

  app.ClickHeader(0);  // the same header: descending
  names = app.Column(0);
  std::reverse(names.begin(), names.end());
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), byLocale));
  EXPECT_EQ(app.HeaderImage(0), 1);

  app.ClickHeader(4);  // "サイズ": by the number of bytes, empty cells first
  auto sizes = app.Column(4);
  EXPECT_EQ(sizes.back(), L"20.00MB");
  EXPECT_EQ(app.HeaderImage(4), 0);
  EXPECT_EQ(app.HeaderImage(0), 2);
  app.ClickHeader(4);
  EXPECT_EQ(app.Column(4).front(), L"20.00MB");
  EXPECT_EQ(app.HeaderImage(4), 1);

  app.ClickHeader(5);  // "最終使用": programs never used first
  EXPECT_NE(app.Column(5).back(), L"");
  EXPECT_EQ(app.Column(5).front(), L"");
  app.ClickHeader(5);
  EXPECT_NE(app.Column(5).front(), L"");

  app.ClickHeader(3);  // "インストール日": eight digits sort as text
  auto dates = app.Column(3);
  EXPECT_TRUE(std::is_sorted(dates.begin(), dates.end(), byLocale));
  app.Command(kCmdRefresh);  // the sort survives a refresh
  EXPECT_EQ(app.Column(3), dates);
  EXPECT_EQ(app.HeaderImage(3), 0);
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::wstring IniValue(const wchar_t* section, const wchar_t* key) {
  wchar_t value[256] = {};
  GetPrivateProfileStringW(section, key, L"<absent>", value, 256, IniPath().c_str());
  return value;
}

TEST_F(UninstallRoadE2E, SettingsRoundTripThroughTheFile) {
  ASSERT_TRUE(app.Close());
  const std::wstring ini = IniPath();
  DeleteFileW(ini.c_str());
  WritePrivateProfileStringW(L"Option", L"StripeColor", L"0xE0F0FF", ini.c_str());
  WritePrivateProfileStringW(L"Option", L"Stripe", L"1", ini.c_str());
  WritePrivateProfileStringW(L"Option", L"Unknown", L"keep me", ini.c_str());
  WritePrivateProfileStringW(L"Mine", L"Key", L"日本語", ini.c_str());
  WritePrivateProfileStringW(L"FormPos", L"Width", L"640", ini.c_str());
  WritePrivateProfileStringW(L"FormPos", L"Height", L"50", ini.c_str());
  ASSERT_TRUE(app.Start(ExePath()));
  RECT outer{};
  GetWindowRect(app.Handle(), &outer);
  EXPECT_EQ(outer.right - outer.left, 640);
  EXPECT_EQ(outer.bottom - outer.top, 100);  // raised to the smallest height
  EXPECT_TRUE(app.Checked(kCmdStngStripe));
  EXPECT_TRUE(app.Checked(kCmdStngGridLine));
  app.Command(kCmdStngGridLine);
  ASSERT_TRUE(app.Close());
  EXPECT_EQ(IniValue(L"Option", L"Stripe"), L"1");
  EXPECT_EQ(IniValue(L"Option", L"GridLine"), L"0");
  EXPECT_EQ(IniValue(L"Option", L"LoadIcon"), L"0");
  EXPECT_EQ(IniValue(L"Option", L"ShowSysComp"), L"0");
  EXPECT_EQ(IniValue(L"Option", L"StripeColor"), L"0xE0F0FF");  // read, never written
  EXPECT_EQ(IniValue(L"Option", L"Unknown"), L"keep me");
  EXPECT_EQ(IniValue(L"Mine", L"Key"), L"日本語");
  EXPECT_EQ(IniValue(L"FormPos", L"Maximized"), L"0");
  EXPECT_EQ(IniValue(L"FormPos", L"Width"), L"640");
  EXPECT_EQ(IniValue(L"FormPos", L"Height"), L"100");
  EXPECT_EQ(IniValue(L"Column", L"Width0"), L"300");
  // Stored in the ANSI code page, not as UTF-8.
  EXPECT_NE(ReadFile(ini).find("Key=\x93\xfa\x96\x7b\x8c\xea"), std::string::npos);

  // Closed while maximised: "Maximized" is written and the old normal size kept.
  ASSERT_TRUE(app.Start(ExePath()));
  EXPECT_FALSE(app.Checked(kCmdStngGridLine));
  ShowWindow(app.Handle(), SW_MAXIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsZoomed(app.Handle()) != FALSE; }));
  ASSERT_TRUE(app.Close());
  EXPECT_EQ(IniValue(L"FormPos", L"Maximized"), L"1");
  EXPECT_EQ(IniValue(L"FormPos", L"Width"), L"640");
  EXPECT_EQ(IniValue(L"FormPos", L"Height"), L"100");
  ASSERT_TRUE(app.Start(ExePath()));
  EXPECT_TRUE(IsZoomed(app.Handle()));
  DeleteFileW(ini.c_str());
}

}  // namespace
}  // namespace orv::e2e
