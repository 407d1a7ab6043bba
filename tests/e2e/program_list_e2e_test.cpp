// The real Orvalinde.exe on a prefix seeded from tests/fixtures: demo.reg, a real NSIS program
// and a real MSI product. The rows read from the running window must match what was installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/command_ids.h"
#include "window_driver.h"

namespace orv::e2e {
namespace {

std::vector<std::wstring> Sorted(std::vector<std::wstring> values) {
  std::sort(values.begin(), values.end());
  return values;
}

const std::vector<std::wstring> kApplications = {
    L"付箋メモ帳",                         // current user
    L"他社の更新 KB777",                   // another publisher's update is an application
    L"OrvNoName",                          // an empty name shows the subkey name
    L"Orv NSIS デモ",                      // the real NSIS program
    L"写真ビューア Lumière",
    L"静音ドライバ",                       // only a QuietDisplayName
    L"Orv MSI Sample",                     // the real MSI product
    L"表計算アドイン 2026",
    L"旧版 32ビット ツール",               // the 32-bit view
    L"写真ビューア Lumière (32ビット)",    // the same subkey name in the 32-bit view
};
const std::vector<std::wstring> kUpdates = {L"セキュリティ更新プログラム (KB5012345)",
                                            L"修正プログラム 2026-03"};

class ProgramListE2E : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.Start(ExePath())) << "Orvalinde did not start"; }
  void TearDown() override { EXPECT_TRUE(app.Close()) << "Orvalinde did not close"; }
  AppWindow app;
};

TEST_F(ProgramListE2E, ShowsTheInstalledProgramsOnTheirTabs) {
  wchar_t caption[64];
  GetWindowTextW(app.Handle(), caption, 64);
  EXPECT_STREQ(caption, L"Orvalinde");
  EXPECT_EQ(app.CurrentTab(), 0);
  EXPECT_EQ(Sorted(app.Column(0)), Sorted(kApplications));
  EXPECT_EQ(app.Text(app.Control(kIdCountPanel)), L" " + std::to_wstring(kApplications.size()) + L" 個のプログラム");

  app.Command(kCmdGoNextTab);
  EXPECT_EQ(app.CurrentTab(), 1);
  EXPECT_EQ(Sorted(app.Column(0)), Sorted(kUpdates));
  EXPECT_EQ(app.Text(app.Control(kIdCountPanel)), L" 2 個のプログラム");
  EXPECT_EQ(app.Selected(), 0);  // switching tabs selects the first row
  app.Command(kCmdGoPrevTab);
  EXPECT_EQ(app.CurrentTab(), 0);
  EXPECT_EQ(app.RowCount(), static_cast<int>(kApplications.size()));
}

TEST_F(ProgramListE2E, ShowsTheDefaultColumnsAndCellTexts) {
  const std::vector<std::wstring> headers = {L"プログラム", L"", L"発行元", L"インストール日",
                                             L"サイズ", L"最終使用", L"ファイル名", L"タグ"};
  EXPECT_EQ(app.Headers(), headers);
  int notes = RowOf(app, L"付箋メモ帳");
  ASSERT_GE(notes, 0);
  EXPECT_EQ(app.Cell(notes, 2), L"さくらソフト");
  EXPECT_EQ(app.Cell(notes, 3), L"20260412");
  EXPECT_EQ(app.Cell(notes, 4), L"20.00MB");  // from the cached usage record
  EXPECT_NE(app.Cell(notes, 5).find(L"2022/"), std::wstring::npos) << app.Cell(notes, 5);
  EXPECT_EQ(app.Cell(notes, 6), L"C:\\Users\\Public\\Fusen\\fusen.exe");
  EXPECT_EQ(app.Cell(notes, 7), L"");
  int nsis = RowOf(app, L"Orv NSIS デモ");
  ASSERT_GE(nsis, 0);
  EXPECT_EQ(app.Cell(nsis, 2), L"Orvalinde テスト工房");
  EXPECT_EQ(app.Cell(nsis, 4), L"");  // no cached usage record
  EXPECT_EQ(app.Cell(nsis, 5), L"");
}

TEST_F(ProgramListE2E, SystemComponentsShowWhenAskedForWithoutARescan) {
  EXPECT_EQ(RowOf(app, L"共有ランタイム (システム)"), -1);
  app.Command(kCmdStngSysComp);
  EXPECT_GE(RowOf(app, L"共有ランタイム (システム)"), 0);
  EXPECT_EQ(app.RowCount(), static_cast<int>(kApplications.size()) + 1);
  app.Command(kCmdStngSysComp);
  EXPECT_EQ(RowOf(app, L"共有ランタイム (システム)"), -1);
}

TEST_F(ProgramListE2E, IconOptionRescansWithProgramIconsAndStatusMarks) {
  int nsis = RowOf(app, L"Orv NSIS デモ");
  ASSERT_GE(nsis, 0);
  EXPECT_EQ(app.Image(nsis), -1);  // icons are off by default
  app.Command(kCmdStngLoadIcon);
  nsis = RowOf(app, L"Orv NSIS デモ");
  EXPECT_GE(app.Image(nsis), 2);  // from its DisplayIcon, after the two status marks
  EXPECT_EQ(app.Image(RowOf(app, L"静音ドライバ")), -1);  // names no icon
  app.Command(kCmdStngLoadIcon);
  EXPECT_EQ(app.Image(RowOf(app, L"Orv NSIS デモ")), -1);
}

TEST_F(ProgramListE2E, RefreshFindsNewEntriesAndKeepsTheSelectedPosition) {
  HKEY key = nullptr;
  const wchar_t* path = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvAddedLater";
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  const wchar_t name[] = L"後から追加";
  RegSetValueExW(key, L"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name), sizeof name);
  RegCloseKey(key);
  app.Select(4);
  ASSERT_EQ(app.Selected(), 4);
  app.Command(kCmdRefresh);  // F5
  EXPECT_GE(RowOf(app, L"後から追加"), 0);
  EXPECT_EQ(app.RowCount(), static_cast<int>(kApplications.size()) + 1);
  EXPECT_EQ(app.Selected(), 4);
  RegDeleteKeyW(HKEY_CURRENT_USER, path);
  app.Command(kCmdRefresh);
  EXPECT_EQ(RowOf(app, L"後から追加"), -1);
}

TEST_F(ProgramListE2E, ClosingSavesTheColumnSection) {
  const std::wstring ini = IniPath();
  DeleteFileW(ini.c_str());
  ASSERT_TRUE(app.Close());
  wchar_t value[64] = {};
  GetPrivateProfileStringW(L"Column", L"Width0", L"", value, 64, ini.c_str());
  EXPECT_STREQ(value, L"300");
  GetPrivateProfileStringW(L"Column", L"Width1", L"absent", value, 64, ini.c_str());
  EXPECT_STREQ(value, L"absent");
  GetPrivateProfileStringW(L"Column", L"Checked2", L"", value, 64, ini.c_str());
  EXPECT_STREQ(value, L"1");
  ASSERT_TRUE(app.Start(ExePath()));  // TearDown closes it again
}

}  // namespace
}  // namespace orv::e2e
