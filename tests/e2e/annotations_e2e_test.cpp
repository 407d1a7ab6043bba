// The user's marks on the real window: new marks, tags, the change lock, the tag editor and
// the "appdata" file, with the exe in a folder of its own so each test starts from nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>

#include "annotations/tag_edit_dialog_ids.h"
#include "app/command_ids.h"
#include "window_driver.h"

namespace orv::e2e {
namespace {

constexpr int kStatusColumn = 1;  // the status column's place among the default columns
constexpr int kLockImage = 0, kNewImage = 1;
constexpr wchar_t kFolder[] = L"C:\\OrvMarks";

struct Mark {
  std::wstring key;
  std::int32_t tag;
  bool allowed;
};

// The records of an "appdata" file; nothing when the bytes are not whole records.
std::optional<std::vector<Mark>> ParseMarks(const std::string& bytes) {
  std::vector<Mark> marks;
  std::size_t pos = 0;
  auto int32 = [&](std::size_t at) {
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(bytes[at + i]);
    return static_cast<std::int32_t>(u);
  };
  while (pos < bytes.size()) {
    if (bytes.size() - pos < 4) return std::nullopt;
    const std::int32_t n = int32(pos);
    pos += 4;
    if (n < 0 || bytes.size() - pos < static_cast<std::size_t>(n) + 5) return std::nullopt;
    std::string key = bytes.substr(pos, static_cast<std::size_t>(n));
    pos += static_cast<std::size_t>(n);
    UINT codePage = CP_ACP;
    if (key.rfind("\xEF\xBB\xBF", 0) == 0) {
      key.erase(0, 3);
      codePage = CP_UTF8;
    }
    std::wstring wide(key.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
        codePage, 0, key.data(), static_cast<int>(key.size()), wide.data(), static_cast<int>(wide.size()))));
    marks.push_back({wide, int32(pos), bytes[pos + 4] != 0});
    pos += 5;
  }
  return marks;
}

// The identity keys of the programs a scan finds, in scan order: the current user, then the
// machine's 64-bit and 32-bit views, each in the registry's order, entries with a name only.
std::vector<std::wstring> ScanOrderKeys() {
  struct Root {
    HKEY hive;
    REGSAM view;
    const wchar_t* prefix;
  };
  std::vector<std::wstring> keys;
  for (Root root : {Root{HKEY_CURRENT_USER, 0, L"HKCU\\"}, Root{HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, L"HKLM\\"},
                    Root{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"HKLM32\\"}}) {
    HKEY uninstall = nullptr;
    if (RegOpenKeyExW(root.hive, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0,
                      KEY_READ | root.view, &uninstall) != ERROR_SUCCESS)
      continue;
    wchar_t name[512];
    for (DWORD i = 0;; ++i) {
      DWORD length = 512;
      if (RegEnumKeyExW(uninstall, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        break;
      HKEY entry = nullptr;
      if (RegOpenKeyExW(uninstall, name, 0, KEY_READ | root.view, &entry) != ERROR_SUCCESS) continue;
      const bool named = RegQueryValueExW(entry, L"DisplayName", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS ||
                         RegQueryValueExW(entry, L"QuietDisplayName", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
      RegCloseKey(entry);
      if (named) keys.push_back(root.prefix + std::wstring(name));
    }
    RegCloseKey(uninstall);
  }
  return keys;
}

COLORREF Rgb(std::uint32_t pixel) {
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// The colour most of a row's cells show, and whether any pixel of their text is pure white.
// The cells from the status column on: the first cell starts with the list's image area.
struct RowLook {
  COLORREF background = 0;
  bool whiteText = false;
};

RowLook LookOfRow(const AppWindow& app, int row) {
  RECT rect = app.CellScreenRect(row, kStatusColumn + 1);
  rect.right = rect.left + 300;
  std::map<std::uint32_t, int> counts;
  for (std::uint32_t pixel : ScreenPixels(rect)) ++counts[pixel];
  RowLook look;
  auto most = std::max_element(counts.begin(), counts.end(),
                               [](auto& a, auto& b) { return a.second < b.second; });
  if (most != counts.end()) look.background = Rgb(most->first);
  look.whiteText = counts.count(0xFFFFFF) != 0 && look.background != RGB(255, 255, 255);
  return look;
}

void SelectRow(const AppWindow& app, int row) {
  app.Select(row);
  SendMessageW(app.Handle(), WM_NULL, 0, 0);
}

class AnnotationsE2E : public ::testing::Test {
 protected:
  void SetUp() override { exe_ = FreshCopyOfExe(kFolder); }
  void TearDown() override {
    if (app.Running()) {
      EXPECT_TRUE(app.Close());
    }
  }
  void Start() { ASSERT_TRUE(app.Start(exe_)) << "Orvalinde did not start"; }
  void Restart() {
    ASSERT_TRUE(app.Close());
    app = AppWindow();
    Start();
  }
  int Row(const std::wstring& name) {
    int row = RowOf(app, name);
    EXPECT_GE(row, 0) << "no row for the fixture's program";
    return row;
  }
  std::vector<Mark> FileMarks() {
    std::optional<std::string> bytes = ReadBytes(InFolder(kFolder, L"appdata"));
    EXPECT_TRUE(bytes) << "no appdata";
    std::optional<std::vector<Mark>> marks = bytes ? ParseMarks(*bytes) : std::nullopt;
    EXPECT_TRUE(marks) << "appdata is not whole records";
    return marks.value_or(std::vector<Mark>{});
  }
  std::wstring exe_;
  AppWindow app;
};

TEST_F(AnnotationsE2E, FirstRunMarksEveryProgramNewAndTheNextRunNone) {
  Start();
  ASSERT_GT(app.RowCount(), 0);
  for (int row = 0; row < app.RowCount(); ++row)
    EXPECT_EQ(app.Image(row, kStatusColumn), kNewImage) << app.Cell(row, 0);
  Restart();
  for (int row = 0; row < app.RowCount(); ++row)
    EXPECT_EQ(app.Image(row, kStatusColumn), -1) << app.Cell(row, 0);
}

TEST_F(AnnotationsE2E, TagShortcutsColourTheRowAndDarkTagsDrawWhiteText) {
  Start();
  int row = Row(L"OrvNoName");
  SelectRow(app, row);
  app.PressKeys({VK_CONTROL, VK_SHIFT, '3'});  // the third tag: yellow by default
  EXPECT_EQ(app.Selected(), -1) << "tagging leaves no row selected";
  row = Row(L"OrvNoName");
  RowLook look = LookOfRow(app, row);
  EXPECT_EQ(look.background, RGB(255, 255, 0));
  EXPECT_FALSE(look.whiteText);

  SelectRow(app, row);
  app.PressKeys({VK_CONTROL, VK_SHIFT, '4'});  // blue is dark: white text
  look = LookOfRow(app, Row(L"OrvNoName"));
  EXPECT_EQ(look.background, RGB(0, 0, 255));
  EXPECT_TRUE(look.whiteText);

  SelectRow(app, Row(L"OrvNoName"));
  app.PressKeys({VK_CONTROL, VK_SHIFT, '0'});  // none
  EXPECT_EQ(LookOfRow(app, Row(L"OrvNoName")).background, RGB(255, 255, 255));

  // With nothing selected the shortcuts do nothing.
  app.PressKeys({VK_CONTROL, VK_SHIFT, '1'});
  EXPECT_EQ(LookOfRow(app, Row(L"OrvNoName")).background, RGB(255, 255, 255));
  for (const Mark& mark : FileMarks()) EXPECT_EQ(mark.tag, -1) << mark.key;
}

TEST_F(AnnotationsE2E, LockGreysTheThreeCommandsEverywhereAndSurvivesRefreshAndRestart) {
  Start();
  const int commands[] = {kCmdRemoveProgram, kCmdModifyProgram, kCmdRepairProgram};
  SelectRow(app, Row(L"Orv MSI Sample"));
  for (int command : commands) ASSERT_TRUE(app.Enabled(command)) << command;
  EXPECT_FALSE(app.Checked(kCmdDisableChange));

  app.Command(kCmdDisableChange);
  auto expectLocked = [&] {
    for (int command : commands) {
      EXPECT_FALSE(app.Enabled(command)) << command;
      for (int menu : {0, 1}) EXPECT_TRUE(app.MenuState(command, menu) & MF_GRAYED) << command;
    }
    for (int menu : {0, 1}) EXPECT_TRUE(app.MenuState(kCmdDisableChange, menu) & MF_CHECKED);
    EXPECT_TRUE(app.Checked(kCmdDisableChange));
    EXPECT_FALSE(IsWindowEnabled(app.Control(kIdRemoveButton)));
    EXPECT_FALSE(IsWindowEnabled(app.Control(kIdModifyButton)));
    EXPECT_EQ(app.Image(Row(L"Orv MSI Sample"), kStatusColumn), kLockImage);
  };
  expectLocked();
  // Tag another program too: both marks must come back.
  SelectRow(app, Row(L"静音ドライバ"));
  app.Command(kCmdTag0 + 1);

  app.Command(kCmdRefresh);
  SelectRow(app, Row(L"Orv MSI Sample"));
  expectLocked();
  Restart();
  SelectRow(app, Row(L"Orv MSI Sample"));
  expectLocked();
  EXPECT_EQ(LookOfRow(app, Row(L"静音ドライバ")).background, RGB(0, 255, 0));

  // One record per program in scan order, with the marks given.
  const std::vector<Mark> marks = FileMarks();
  std::vector<std::wstring> keys;
  for (const Mark& mark : marks) keys.push_back(mark.key);
  EXPECT_EQ(keys, ScanOrderKeys());
  for (const Mark& mark : marks) {
    const bool msi = mark.key == L"HKLM\\{4F2C9A71-3B5D-4E8A-9C61-7D2E5B3A1F08}";
    const bool quiet = mark.key == L"HKLM\\OrvQuietOnly";
    EXPECT_EQ(mark.allowed, !msi) << mark.key;
    EXPECT_EQ(mark.tag, quiet ? 1 : -1) << mark.key;
  }

  // Unlocking gives the commands back as far as their own rules allow.
  SelectRow(app, Row(L"Orv MSI Sample"));
  app.Command(kCmdDisableChange);
  for (int command : commands) EXPECT_TRUE(app.Enabled(command)) << command;
  EXPECT_EQ(app.Image(Row(L"Orv MSI Sample"), kStatusColumn), -1);
}

TEST_F(AnnotationsE2E, AFileFromBeforeTheMachineViewsWereToldApartKeepsItsMarks) {
  // "HKLM\OrvLegacy32" meant the 32-bit entry: no 64-bit entry has that name.
  const std::string key = "HKLM\\OrvLegacy32";
  std::string bytes(1, static_cast<char>(key.size()));
  bytes += std::string(3, '\0') + key + std::string("\x02\x00\x00\x00\x00", 5);
  WriteBytes(InFolder(kFolder, L"appdata"), bytes);
  Start();
  const int row = Row(L"旧版 32ビット ツール");
  EXPECT_EQ(app.Image(row, kStatusColumn), kLockImage);
  EXPECT_EQ(LookOfRow(app, row).background, RGB(255, 255, 0));
  ASSERT_TRUE(app.Close());
  bool found = false;
  for (const Mark& mark : FileMarks()) {
    if (mark.key != L"HKLM32\\OrvLegacy32") continue;
    found = true;
    EXPECT_EQ(mark.tag, 2);
    EXPECT_FALSE(mark.allowed);
  }
  EXPECT_TRUE(found) << "the mark is saved under the entry's own key";
}

TEST_F(AnnotationsE2E, AFileThatCannotBeReadIsToldAndNeverOverwritten) {
  const std::string bytes = std::string(1, '\x09') + std::string(3, '\0') + "HKCU\\Kept" +
                            std::string("\x01\x00\x00\x00\x00", 5);
  const std::wstring path = InFolder(kFolder, L"appdata");
  WriteBytes(path, bytes);
  // Held open by another program that lets nobody else in.
  HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Start();
  HWND box = app.FindDialog(L"エラー");
  ASSERT_TRUE(box);
  EXPECT_NE(AppWindow::DialogText(box).find(L"タグと変更の禁止を読み込めません。"), std::wstring::npos);
  AppWindow::Answer(box, IDOK);
  WaitUntil([&] { return !IsWindow(box); });
  CloseHandle(held);
  SelectRow(app, Row(L"OrvNoName"));
  app.Command(kCmdDisableChange);  // would save at once, and again at close
  ASSERT_TRUE(app.Close());
  EXPECT_EQ(ReadBytes(path), bytes);
}

TEST_F(AnnotationsE2E, TagEditorRenamesAndRecoloursATagEverywhere) {
  Start();
  SelectRow(app, Row(L"OrvNoName"));
  app.Command(kCmdTag0);
  PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdEditTag, 0), 0);
  HWND editor = app.FindDialog(L"タグの設定");
  ASSERT_TRUE(editor);
  HWND caption = GetDlgItem(editor, IDC_TAGEDIT_CAPTION);
  wchar_t text[64] = {};
  SendMessageW(caption, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"Tag1");  // slot 0 is selected at opening
  SendMessageW(caption, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"重要"));
  wchar_t entry[64] = {};
  SendMessageW(GetDlgItem(editor, IDC_TAGEDIT_LIST), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(entry));
  EXPECT_STREQ(entry, L"1: 重要");
  EXPECT_EQ(SendMessageW(GetDlgItem(editor, IDC_TAGEDIT_LIST), LB_GETCURSEL, 0, 0), 0);

  // The colour button opens the system's colour dialog; its red, green and blue boxes take
  // the new colour.
  PostMessageW(editor, WM_COMMAND, MAKEWPARAM(IDC_TAGEDIT_COLOR, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(editor, IDC_TAGEDIT_COLOR)));
  HWND colors = nullptr;
  WaitUntil([&] {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
         w = FindWindowExW(nullptr, w, L"#32770", nullptr))
      if (GetWindow(w, GW_OWNER) == editor && IsWindowVisible(w)) colors = w;
    return colors != nullptr;
  });
  ASSERT_TRUE(colors) << "no colour dialog";
  const std::pair<int, const wchar_t*> channels[] = {{706, L"0"}, {707, L"128"}, {708, L"0"}};
  for (auto [id, value] : channels) SendMessageW(GetDlgItem(colors, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value));
  AppWindow::Answer(colors, IDOK);
  WaitUntil([&] { return !IsWindow(colors); });
  AppWindow::Answer(editor, IDOK);
  WaitUntil([&] { return !IsWindow(editor); });

  for (int menu : {0, 1}) EXPECT_EQ(app.MenuText(kCmdTag0, menu), L"重要\tShift+Ctrl+1") << menu;
  const RowLook look = LookOfRow(app, Row(L"OrvNoName"));
  EXPECT_EQ(look.background, RGB(0, 128, 0));
  EXPECT_TRUE(look.whiteText);
  wchar_t stored[64] = {};
  const std::wstring ini = InFolder(kFolder, L"Orvalinde.ini");
  GetPrivateProfileStringW(L"Tags", L"CaptionString0", L"", stored, 64, ini.c_str());
  EXPECT_STREQ(stored, L"重要");
  EXPECT_EQ(GetPrivateProfileIntW(L"Tags", L"Color0", -1, ini.c_str()), 0x008000);

  // Cancel changes nothing.
  PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdEditTag, 0), 0);
  editor = app.FindDialog(L"タグの設定");
  ASSERT_TRUE(editor);
  SendMessageW(GetDlgItem(editor, IDC_TAGEDIT_CAPTION), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"捨てる"));
  AppWindow::Answer(editor, IDCANCEL);
  WaitUntil([&] { return !IsWindow(editor); });
  EXPECT_EQ(app.MenuText(kCmdTag0, 0), L"重要\tShift+Ctrl+1");
  GetPrivateProfileStringW(L"Tags", L"CaptionString0", L"", stored, 64, ini.c_str());
  EXPECT_STREQ(stored, L"重要");
}

TEST_F(AnnotationsE2E, AProcessKilledWhileSavingLeavesALoadableFile) {
  std::mt19937 random(20261210);
  std::size_t lastCount = 0;
  for (int round = 0; round < 8; ++round) {
    ASSERT_TRUE(app.Start(exe_)) << "round " << round;
    // Every tag change saves; the process dies somewhere among them.
    for (int i = 0; i < 40; ++i) {
      PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdGoNextTab, 0), 0);
      PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdGoPrevTab, 0), 0);
      PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdTag0 + i % 5, 0), 0);
    }
    Sleep(std::uniform_int_distribution<int>(0, 150)(random));
    TerminateProcess(app.Process(), 9);
    WaitForSingleObject(app.Process(), 5000);
    app = AppWindow();
    if (std::optional<std::string> bytes = ReadBytes(InFolder(kFolder, L"appdata"))) {
      std::optional<std::vector<Mark>> marks = ParseMarks(*bytes);
      ASSERT_TRUE(marks) << "round " << round << ": appdata is not whole records";
      if (!marks->empty()) lastCount = marks->size();
      for (const Mark& mark : *marks) EXPECT_TRUE(mark.key.rfind(L"HK", 0) == 0) << mark.key;
    }
  }
  EXPECT_EQ(lastCount, ScanOrderKeys().size()) << "some save got through whole";
}

// run_e2e.sh makes C:\OrvReadOnly a folder nothing can be created in, with the exe inside.
TEST(AnnotationsReadOnlyFolderE2E, KeepsBothFilesInThePerUserFolderAcrossARestart) {
  const std::wstring folder = L"C:\\OrvReadOnly";
  const std::wstring probe = InFolder(folder, L"probe.tmp");
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    GTEST_SKIP() << "the folder can be written here; the runner could not make it read-only";
  }
  wchar_t appData[MAX_PATH] = {};
  ExpandEnvironmentStringsW(L"%APPDATA%\\Orvalinde", appData, MAX_PATH);
  const std::wstring perUser = appData;
  // Once there, every exe of this machine reads them first: none may outlive the test.
  struct Clear {
    std::wstring folder;
    void operator()() const {
      for (const wchar_t* name : {L"Orvalinde.ini", L"appdata"}) DeleteFileW(InFolder(folder, name).c_str());
    }
    ~Clear() { (*this)(); }
  } clear{perUser};
  clear();

  AppWindow app;
  ASSERT_TRUE(app.Start(InFolder(folder, L"Orvalinde.exe")));
  SelectRow(app, RowOf(app, L"OrvNoName"));
  app.Command(kCmdDisableChange);
  app.Command(kCmdStngStripe);
  EXPECT_FALSE(app.FindDialog(L"エラー", 1000)) << "nothing is reported: the files have a place";
  ASSERT_TRUE(app.Close());
  EXPECT_TRUE(ReadBytes(InFolder(perUser, L"appdata")));
  EXPECT_TRUE(ReadBytes(InFolder(perUser, L"Orvalinde.ini")));
  EXPECT_EQ(GetFileAttributesW(InFolder(folder, L"appdata").c_str()), INVALID_FILE_ATTRIBUTES);

  AppWindow again;
  ASSERT_TRUE(again.Start(InFolder(folder, L"Orvalinde.exe")));
  EXPECT_EQ(again.Image(RowOf(again, L"OrvNoName"), kStatusColumn), kLockImage);
  EXPECT_TRUE(again.Checked(kCmdStngStripe));
  again.Command(kCmdStngStripe);
  EXPECT_TRUE(again.Close());
}

}  // namespace
}  // namespace orv::e2e
