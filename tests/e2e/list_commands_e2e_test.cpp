// Find, the CSV export, the display-item dialog and the version dialog in the running window,
// driven through their real dialogs.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "app/command_ids.h"
#include "columns/display_item_dialog_ids.h"
#include "dialogs/about_dialog_ids.h"
#include "dialogs/find_dialog_ids.h"
#include "window_driver.h"

namespace orv::e2e {
namespace {

std::wstring ExeFolder() {
  std::wstring exe = ExePath();
  return exe.substr(0, exe.find_last_of(L'\\') + 1);
}

void SetRowState(const AppWindow& app, HWND list, int row, UINT state, UINT mask) {
  RemoteBuffer remote(app.Process(), sizeof(LVITEMW));
  LVITEMW item{};
  item.stateMask = mask;
  item.state = state;
  remote.Write(0, &item, sizeof item);
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.At(0)));
}

// Each test starts from the default settings and leaves the INI as it found it.
class ListCommandsE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    savedIni_ = ReadBytes(IniPath());
    DeleteFileW(IniPath().c_str());
  }
  void TearDown() override {
    if (app.Running()) {
      EXPECT_TRUE(app.Close()) << "Orvalinde did not close";
    }
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(IniPath()), ignored);
    if (savedIni_) WriteBytes(IniPath(), *savedIni_);
  }
  void Start() { ASSERT_TRUE(app.Start(ExePath())) << "Orvalinde did not start"; }
  // Commands that open a modal dialog are posted: a sent one would return only when it closes.
  void Post(int command) const { PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0); }
  static bool Gone(HWND dialog) {
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
  }
  std::wstring SelectedName() const {
    int row = app.Selected();
    return row < 0 ? L"" : app.Cell(row, 0);
  }
  // F3 as the keyboard gives it: through the window's accelerators.
  void PressF3() const {
    HWND list = app.Control(kIdProgramList);
    PostMessageW(list, WM_KEYDOWN, VK_F3, 0x003D0001);
    PostMessageW(list, WM_KEYUP, VK_F3, static_cast<LPARAM>(0xC03D0001u));
    Sleep(300);  // posted input is handled after any sent message: give it time
    SendMessageW(app.Handle(), WM_NULL, 0, 0);
  }
  void Find(const std::wstring& text, bool matchCase) {
    Post(kCmdFind);
    HWND dialog = app.DialogWith(IDC_FIND_TEXT);
    ASSERT_NE(dialog, nullptr) << "no find dialog";
    wchar_t caption[32] = {};
    GetWindowTextW(dialog, caption, 32);
    EXPECT_STREQ(caption, L"検索");
    SetDlgItemTextW(dialog, IDC_FIND_TEXT, text.c_str());
    SendDlgItemMessageW(dialog, IDC_FIND_MATCH_CASE, BM_SETCHECK, matchCase ? BST_CHECKED : BST_UNCHECKED, 0);
    AppWindow::Answer(dialog, IDOK);
    ASSERT_TRUE(Gone(dialog));
    SendMessageW(app.Handle(), WM_NULL, 0, 0);
  }

  AppWindow app;

 private:
  std::optional<std::string> savedIni_;
};

void ClearSelection(const AppWindow& app) {
  SetRowState(app, app.Control(kIdProgramList), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
}

TEST_F(ListCommandsE2E, FindStepsThroughTheShownListAndNeverWraps) {
  Start();
  const std::wstring first = app.Cell(0, 0);
  ASSERT_EQ(app.Selected(), -1);  // nothing selected at start
  PressF3();  // no search text yet: nothing happens
  EXPECT_EQ(app.Selected(), -1);

  // Lower case finds the capitalised name; the selection itself is skipped.
  Find(L"lumi", false);
  const int a = app.Selected();
  ASSERT_GE(a, 0);
  EXPECT_NE(app.Cell(a, 0).find(L"Lumière"), std::wstring::npos) << app.Cell(a, 0);
  PressF3();
  EXPECT_TRUE(WaitUntil([&] { return app.Selected() != a; }, 3000));
  const int b = app.Selected();
  EXPECT_GT(b, a);
  EXPECT_NE(app.Cell(b, 0).find(L"Lumière"), std::wstring::npos) << app.Cell(b, 0);
  PressF3();  // no third match below: the selection stays, no wrap to the first
  EXPECT_EQ(app.Selected(), b);
  app.Command(kCmdFindPrev);
  EXPECT_EQ(app.Selected(), a);
  EXPECT_EQ(SendMessageW(app.Control(kIdProgramList), LVM_GETSELECTEDCOUNT, 0, 0), 1);
  app.Command(kCmdFindPrev);  // none above
  EXPECT_EQ(app.Selected(), a);

  // With match case the lower-case text is not found; cancelling keeps the last search.
  Find(L"lumi", true);
  EXPECT_EQ(app.Selected(), a);
  Post(kCmdFind);
  HWND dialog = app.DialogWith(IDC_FIND_TEXT);
  ASSERT_NE(dialog, nullptr);
  wchar_t preset[64] = {};
  GetDlgItemTextW(dialog, IDC_FIND_TEXT, preset, 64);
  EXPECT_STREQ(preset, L"lumi");
  EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_FIND_MATCH_CASE, BM_GETCHECK, 0, 0), BST_CHECKED);
  SetDlgItemTextW(dialog, IDC_FIND_TEXT, L"Atelier");
  AppWindow::Answer(dialog, IDCANCEL);
  ASSERT_TRUE(Gone(dialog));
  app.Select(0);
  PressF3();
  EXPECT_EQ(app.Selected(), 0) << "the cancelled text was searched";

  // Shown cells are searched (the publisher), hidden ones (the version) are not.
  Find(L"kōbō", false);
  ASSERT_GE(app.Selected(), 0);
  EXPECT_EQ(app.Cell(app.Selected(), 2), L"Atelier Kōbō");
  app.Select(0);
  Find(L"12.0.4", false);
  EXPECT_EQ(app.Selected(), 0);

  // The other tab is not searched; with nothing selected the search starts at the top.
  app.Command(kCmdGoNextTab);
  ClearSelection(app);
  Find(L"lumi", false);
  EXPECT_EQ(app.Selected(), -1);
  app.Command(kCmdFindPrev);
  EXPECT_EQ(app.Selected(), -1);
  Find(L"kb5012345", false);
  EXPECT_EQ(SelectedName(), L"セキュリティ更新プログラム (KB5012345)");
  app.Command(kCmdGoPrevTab);
  EXPECT_EQ(app.Cell(0, 0), first);
}


// The display-item dialog's rows, as the check list shows them.
struct DialogRow {
  std::wstring caption;
  bool checked;
};

std::vector<DialogRow> DialogRows(const AppWindow& app, HWND list) {
  std::vector<DialogRow> rows;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  constexpr std::size_t kChars = 128;
  RemoteBuffer remote(app.Process(), sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.cchTextMax = kChars;
    item.pszText = static_cast<wchar_t*>(remote.At(sizeof(LVITEMW)));
    remote.Write(0, &item, sizeof item);
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote.At(0)));
    std::wstring text(kChars, L'\0');
    remote.Read(sizeof(LVITEMW), text.data(), kChars * sizeof(wchar_t));
    text.resize(wcslen(text.c_str()));
    UINT state = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_STATEIMAGEMASK));
    rows.push_back({text, (state >> 12) == 2});
  }
  return rows;
}


int RowNamed(const std::vector<DialogRow>& rows, const std::wstring& caption) {
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].caption == caption) return static_cast<int>(i);
  return -1;
}

// In the dialog: "タグ" moved to the top, "バージョン" shown, both date columns hidden, and the
// publisher's width typed (an out-of-range width after it is ignored).
void EditColumns(const AppWindow& app, HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_DISP_LIST);
  std::vector<DialogRow> rows = DialogRows(app, list);
  ASSERT_EQ(rows.size(), 20u);
  EXPECT_EQ(rows.front().caption, L"発行元");
  EXPECT_EQ(rows.back().caption, L"レジストリ");
  EXPECT_EQ(RowNamed(rows, L"プログラム"), -1);
  EXPECT_EQ(RowNamed(rows, L"ステータス"), -1);
  for (const wchar_t* hide : {L"インストール日", L"最終使用"})
    SetRowState(app, list, RowNamed(rows, hide), INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
  SetRowState(app, list, RowNamed(rows, L"バージョン"), INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);

  SetRowState(app, list, RowNamed(rows, L"発行元"), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  wchar_t width[16] = {};
  GetDlgItemTextW(dialog, IDC_DISP_WIDTH, width, 16);
  EXPECT_STREQ(width, L"130");
  SetDlgItemTextW(dialog, IDC_DISP_WIDTH, L"140");
  SetDlgItemTextW(dialog, IDC_DISP_WIDTH, L"-1");  // "auto size" to the list: refused

  const int tag = RowNamed(rows, L"タグ");
  SetRowState(app, list, tag, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  for (int i = 0; i < tag + 2; ++i)  // two presses more than needed: the top stays the top
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_DISP_UP, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_DISP_UP)));
  rows = DialogRows(app, list);
  EXPECT_EQ(rows[0].caption, L"タグ");
  EXPECT_TRUE(rows[0].checked);
  EXPECT_EQ(rows[1].caption, L"発行元");
  EXPECT_FALSE(rows[RowNamed(rows, L"インストール日")].checked);
  EXPECT_TRUE(rows[RowNamed(rows, L"バージョン")].checked);
}

TEST_F(ListCommandsE2E, ExportsTheViewAfterASortAndTheDisplayItemDialog) {
  Start();
  app.ClickHeader(0);  // descending by name
  ASSERT_EQ(app.HeaderImage(0), 1);

  Post(kCmdDispItemSetting);
  HWND dialog = app.DialogWith(IDC_DISP_LIST);
  ASSERT_NE(dialog, nullptr) << "no display-item dialog";
  wchar_t caption[32] = {};
  GetWindowTextW(dialog, caption, 32);
  EXPECT_STREQ(caption, L"表示項目の設定");
  EditColumns(app, dialog);
  AppWindow::Answer(dialog, IDOK);
  ASSERT_TRUE(Gone(dialog));
  const std::vector<std::wstring> headers = {L"プログラム", L"", L"タグ", L"発行元", L"バージョン",
                                             L"サイズ", L"ファイル名"};
  ASSERT_TRUE(WaitUntil([&] { return app.Headers() == headers; }));
  EXPECT_EQ(SendMessageW(app.Control(kIdProgramList), LVM_GETCOLUMNWIDTH, 3, 0), 140);
  EXPECT_EQ(app.HeaderImage(0), 1) << "the sort state survives the refresh";
  wchar_t saved[16] = {};
  GetPrivateProfileStringW(L"Column", L"Order20", L"", saved, 16, IniPath().c_str());
  EXPECT_STREQ(saved, L"0");  // saved at OK, not only at close

  // Into an existing file: the overwrite question, then the whole new content.
  const std::wstring target = ExeFolder() + L"一覧 export.csv";
  WriteBytes(target, "old content\r\n");
  Post(kCmdSaveProgList);
  HWND save = app.DialogWith(AppWindow::kFileNameBox, 30000);
  ASSERT_NE(save, nullptr) << "no save dialog";
  ASSERT_TRUE(AppWindow::TypeFileName(save, target));
  AppWindow::Answer(save, IDOK);
  HWND overwrite = app.DialogWith(IDYES);
  ASSERT_NE(overwrite, nullptr) << "no overwrite question";
  AppWindow::Answer(overwrite, IDYES);
  ASSERT_TRUE(WaitUntil([&] { return ReadBytes(target).value_or("") != "old content\r\n"; }));
  SendMessageW(app.Handle(), WM_NULL, 0, 0);

  const wchar_t* fixtures = _wgetenv(L"ORV_E2E_FIXTURES");
  ASSERT_NE(fixtures, nullptr);
  std::optional<std::string> expected = ReadBytes(std::wstring(fixtures) + L"\\list_export.csv");
  ASSERT_TRUE(expected.has_value());
  std::optional<std::string> written = ReadBytes(target);
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(*written, *expected);
  DeleteFileW(target.c_str());
  // Nothing left beside it.
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(ExeFolder())))
    EXPECT_NE(entry.path().extension(), L".tmp") << entry.path();
}

TEST_F(ListCommandsE2E, ARefusedColumnSaveStillAppliesThenTellsWhyOnceAndTheWindowGoesOn) {
  // A folder where the settings file should be: every write to it fails.
  ASSERT_TRUE(CreateDirectoryW(IniPath().c_str(), nullptr));
  Start();
  Post(kCmdDispItemSetting);
  HWND dialog = app.DialogWith(IDC_DISP_LIST);
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, IDC_DISP_LIST);
  SetRowState(app, list, RowNamed(DialogRows(app, list), L"発行元"), INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
  AppWindow::Answer(dialog, IDOK);
  HWND error = app.FindDialog(L"Orvalinde");
  ASSERT_NE(error, nullptr) << "the refused save was not reported";
  EXPECT_NE(AppWindow::DialogText(error).find(L"に書き込めません"), std::wstring::npos)
      << AppWindow::DialogText(error);
  // By the time it is told, the list already shows the choice.
  const std::vector<std::wstring> headers = {L"プログラム", L"", L"インストール日", L"サイズ",
                                             L"最終使用", L"ファイル名", L"タグ"};
  EXPECT_EQ(app.Headers(), headers);
  AppWindow::Answer(error, IDOK);
  ASSERT_TRUE(Gone(error));
  // Told once, and the window goes on.
  EXPECT_EQ(app.FindDialog(L"Orvalinde", 500), nullptr) << "a second box";
  EXPECT_EQ(app.FindDialog(L"エラー", 100), nullptr) << "a second box";
  app.Command(kCmdRefresh);
  EXPECT_TRUE(app.Running());
  EXPECT_GT(app.RowCount(), 0);
  EXPECT_EQ(app.Headers(), headers);
}

TEST_F(ListCommandsE2E, VersionDialogShowsTheVersionResource) {
  Start();
  for (int closeWith : {IDOK, IDCANCEL}) {  // Enter and Escape both close it
    Post(kCmdVersion);
    HWND dialog = app.DialogWith(IDC_ABOUT_VERSION);
    ASSERT_NE(dialog, nullptr) << "no version dialog";
    wchar_t text[128] = {};
    GetWindowTextW(dialog, text, 128);
    EXPECT_STREQ(text, L"バージョン情報");
    GetDlgItemTextW(dialog, IDC_ABOUT_VERSION, text, 128);
    EXPECT_STREQ(text, L"Version 0.5.0.59");
    GetDlgItemTextW(dialog, IDC_ABOUT_NAME, text, 128);
    EXPECT_STREQ(text, L"Orvalinde");
    GetDlgItemTextW(dialog, IDC_ABOUT_HOMEPAGE, text, 128);
    EXPECT_EQ(std::wstring(text).rfind(L"https://", 0), 0u) << text;
    AppWindow::Answer(dialog, closeWith);
    EXPECT_TRUE(Gone(dialog));
  }
}

}  // namespace
}  // namespace orv::e2e
