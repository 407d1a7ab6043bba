// The property window, rename and comment edits in the running window, against the real MSI
// product of the test bench and entries the tests write themselves (and remove again).
#include <gtest/gtest.h>
#include <aclapi.h>

#include <string>
#include <vector>

#include "annotations/edit_comment_dialog_ids.h"
#include "annotations/rename_dialog_ids.h"
#include "app/command_ids.h"
#include "dialogs/property_dialog_ids.h"
#include "window_driver.h"

namespace orv::e2e {
namespace {

const wchar_t* kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t* kMsiCode = L"{4F2C9A71-3B5D-4E8A-9C61-7D2E5B3A1F08}";
const wchar_t* kMsiPatches =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products\\"
    L"17A9C2F4D5B3A8E4C916D7E2B5A3F180\\Patches";
const wchar_t* kPatchPacked = L"A1B2C3D4E5F60718293A4B5C6D7E8F90";
const wchar_t* kPatchCode = L"{4D3C2B1A-6F5E-8170-92A3-B4C5D6E7F809}";
const wchar_t* kFileRecord = L"Software\\OrvE2E\\MsiFiles";
const wchar_t* kEntryGone = L"レジストリを開くことができません. すでにアンインストール済みかもしれません. ";

std::wstring EntryKey(const std::wstring& name) { return kUninstall + name; }

// One value of a key; `type` receives its type. Empty optional-like: found = false.
struct Read {
  bool found = false;
  DWORD type = 0;
  std::wstring text;
};
Read ReadValue(HKEY root, const std::wstring& path, const wchar_t* name, REGSAM view = 0) {
  Read read;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return read;
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  read.found = RegQueryValueExW(key, name, nullptr, &read.type, reinterpret_cast<BYTE*>(buffer),
                                &size) == ERROR_SUCCESS;
  if (read.found) read.text = buffer;
  RegCloseKey(key);
  return read;
}

bool WriteValue(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text,
                DWORD type = REG_SZ, REGSAM view = 0) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const bool done = RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) ==
                    ERROR_SUCCESS;
  RegCloseKey(key);
  return done;
}

bool WriteDword(HKEY root, const std::wstring& path, const wchar_t* name, DWORD number,
                REGSAM view = 0) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const bool done = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                                   sizeof number) == ERROR_SUCCESS;
  RegCloseKey(key);
  return done;
}

void DeleteValue(HKEY root, const std::wstring& path, const wchar_t* name, REGSAM view = 0) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) return;
  RegDeleteValueW(key, name);
  RegCloseKey(key);
}

void DeleteTree(HKEY root, const std::wstring& path, REGSAM view = 0) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) == ERROR_SUCCESS) {
    RegDeleteTreeW(key, nullptr);
    RegCloseKey(key);
  }
  RegDeleteKeyExW(root, path.c_str(), view, 0);
}

bool KeyExists(HKEY root, const std::wstring& path, REGSAM view = 0) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// Cells of a report list view in the program's process.
std::vector<std::vector<std::wstring>> ListRows(const AppWindow& app, HWND list, int columns) {
  std::vector<std::vector<std::wstring>> rows;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  constexpr std::size_t kChars = 512;
  RemoteBuffer remote(app.Process(), sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  for (int row = 0; row < count; ++row) {
    std::vector<std::wstring> cells;
    for (int column = 0; column < columns; ++column) {
      LVITEMW item{};
      item.iSubItem = column;
      item.cchTextMax = kChars;
      item.pszText = static_cast<wchar_t*>(remote.At(sizeof(LVITEMW)));
      remote.Write(0, &item, sizeof item);
      SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(remote.At(0)));
      std::wstring text(kChars, L'\0');
      remote.Read(sizeof(LVITEMW), text.data(), kChars * sizeof(wchar_t));
      text.resize(wcslen(text.c_str()));
      cells.push_back(text);
    }
    rows.push_back(cells);
  }
  return rows;
}

class EditsE2E : public ::testing::Test {
 protected:
  void TearDown() override {
    if (app.Running()) {
      EXPECT_TRUE(app.Close());
    }
  }
  void Start() { ASSERT_TRUE(app.Start(ExePath())) << "Orvalinde did not start"; }
  bool Select(const std::wstring& name) {
    int row = RowOf(app, name);
    if (row < 0) return false;
    app.Select(row);
    return app.Selected() == row;
  }
  void ClearSelection() {
    RemoteBuffer remote(app.Process(), sizeof(LVITEMW));
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Write(0, &item, sizeof item);
    SendMessageW(app.Control(kIdProgramList), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(remote.At(0)));
  }
  // A modal command runs its own loop: post it, then find its dialog.
  void Post(int command) { PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0); }
  std::wstring Text(HWND dialog, int id) { return app.Text(GetDlgItem(dialog, id)); }
  void SetText(HWND dialog, int id, const std::wstring& text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  // A test entry in the current user's hive, removed again at the end of the test.
  void AddUserEntry(const std::wstring& key, const std::wstring& name) {
    ASSERT_TRUE(WriteValue(HKEY_CURRENT_USER, EntryKey(key), L"DisplayName", name));
    WriteValue(HKEY_CURRENT_USER, EntryKey(key), L"UninstallString", L"C:\\OrvE2E\\none.exe");
    userEntries.push_back(key);
  }
  ~EditsE2E() override {
    for (const auto& key : userEntries) DeleteTree(HKEY_CURRENT_USER, EntryKey(key));
  }
  AppWindow app;
  std::vector<std::wstring> userEntries;
};

class PropertyWindowE2E : public EditsE2E {};
class EntryEditE2E : public EditsE2E {};

TEST_F(PropertyWindowE2E, ShowsTheProductFollowsTheSelectionAndStaysSingle) {
  const HKEY hklm = HKEY_LOCAL_MACHINE;
  // The product's file list through "RegistryLocation" (root in lower case), one patch in the
  // 64-bit view where Windows Installer keeps it, and a decoy in the 32-bit view.
  ASSERT_TRUE(WriteValue(hklm, EntryKey(kMsiCode), L"RegistryLocation",
                         std::wstring(L"hklm\\") + kFileRecord, REG_SZ, KEY_WOW64_64KEY));
  const std::wstring files = std::wstring(kFileRecord) + L"\\Filelist\\";
  WriteValue(hklm, files + L"0001", L"FileName", L"readme.txt", REG_SZ, KEY_WOW64_64KEY);
  WriteValue(hklm, files + L"0001", L"Location", L"C:\\Program Files\\OrvMsiSample", REG_SZ,
             KEY_WOW64_64KEY);
  WriteValue(hklm, files + L"0001", L"Version", L"3.1.0", REG_SZ, KEY_WOW64_64KEY);
  WriteValue(hklm, files + L"0001", L"BuildDate", L"2026/12/10 12:00", REG_SZ, KEY_WOW64_64KEY);
  WriteValue(hklm, files + L"0002", L"Location", L"C:\\Nowhere", REG_SZ, KEY_WOW64_64KEY);
  const std::wstring patch = std::wstring(kMsiPatches) + L"\\" + kPatchPacked;
  ASSERT_TRUE(WriteValue(hklm, patch, L"DisplayName", L"Orv Sample Patch 1", REG_SZ, KEY_WOW64_64KEY));
  WriteValue(hklm, patch, L"Installed", L"20261210", REG_SZ, KEY_WOW64_64KEY);
  WriteValue(hklm, patch, L"MoreInfoURL", L"https://example.invalid/kb1", REG_SZ, KEY_WOW64_64KEY);
  WriteDword(hklm, patch, L"Uninstallable", 1, KEY_WOW64_64KEY);
  WriteValue(hklm, patch, L"DisplayName", L"32-bit view copy", REG_SZ, KEY_WOW64_32KEY);
  struct Cleanup {
    ~Cleanup() {
      DeleteValue(HKEY_LOCAL_MACHINE, EntryKey(kMsiCode), L"RegistryLocation", KEY_WOW64_64KEY);
      DeleteTree(HKEY_LOCAL_MACHINE, L"Software\\OrvE2E", KEY_WOW64_64KEY);
      DeleteTree(HKEY_LOCAL_MACHINE, kMsiPatches, KEY_WOW64_64KEY);
      DeleteTree(HKEY_LOCAL_MACHINE, kMsiPatches, KEY_WOW64_32KEY);
    }
  } cleanup;

  Start();
  ASSERT_TRUE(Select(L"Orv MSI Sample"));
  app.Command(kCmdProperty);
  HWND dialog = app.FindDialog(L"プロパティ");
  ASSERT_NE(dialog, nullptr);
  HWND general = GetDlgItem(dialog, IDC_PROPERTY_GENERAL);
  HWND details = GetDlgItem(dialog, IDC_PROPERTY_DETAILS);
  HWND patches = GetDlgItem(dialog, IDC_PROPERTY_PATCHES);
  EXPECT_EQ(Text(general, IDC_GENERAL_NAME), L"Orv MSI Sample");
  EXPECT_EQ(Text(general, IDC_GENERAL_VERSION), L"3.1.0");
  EXPECT_EQ(Text(general, IDC_GENERAL_PUBLISHER), L"Orvalinde Test Works");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(general, IDC_GENERAL_README)));  // empty: disabled
  EXPECT_EQ(Text(details, IDC_DETAILS_NAME), L"Orv MSI Sample");
  EXPECT_EQ(Text(details, IDC_DETAILS_ROOT), L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(Text(details, IDC_DETAILS_KEY), kMsiCode);
  EXPECT_EQ(Text(details, IDC_DETAILS_INSTALLER), L"はい");
  auto fileRows = ListRows(app, GetDlgItem(details, IDC_DETAILS_FILELIST), 4);
  ASSERT_EQ(fileRows.size(), 1u);  // the record without "FileName" is skipped
  EXPECT_EQ(fileRows[0], (std::vector<std::wstring>{L"readme.txt", L"C:\\Program Files\\OrvMsiSample",
                                                     L"3.1.0", L"2026/12/10 12:00"}));
  auto patchRows = ListRows(app, GetDlgItem(patches, IDC_PATCHES_LIST), 6);
  ASSERT_EQ(patchRows.size(), 1u);  // not the 32-bit view's copy
  EXPECT_EQ(patchRows[0], (std::vector<std::wstring>{L"Orv Sample Patch 1", L"20261210",
                                                      L"https://example.invalid/kb1", L"可能",
                                                      kPatchCode,
                                                      std::wstring(L"MsiExec.exe /X") + kPatchCode}));
  EXPECT_EQ(Text(patches, IDC_PATCHES_UPDATEID), kPatchCode);  // the first row is selected
  EXPECT_EQ(Text(patches, IDC_PATCHES_SUPPORT), L"https://example.invalid/kb1");
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(patches, IDC_PATCHES_NOTE)) ||
              (GetWindowLongW(GetDlgItem(patches, IDC_PATCHES_NOTE), GWL_STYLE) & WS_VISIBLE));

  // Another program: the window follows the main list.
  ASSERT_TRUE(Select(L"付箋メモ帳"));
  EXPECT_TRUE(WaitUntil([&] { return Text(general, IDC_GENERAL_NAME) == L"付箋メモ帳"; }));
  EXPECT_EQ(Text(details, IDC_DETAILS_ROOT), L"HKEY_CURRENT_USER");
  EXPECT_TRUE(ListRows(app, GetDlgItem(patches, IDC_PATCHES_LIST), 1).empty());
  EXPECT_EQ(Text(patches, IDC_PATCHES_UPDATEID), L"");
  EXPECT_FALSE(GetWindowLongW(GetDlgItem(patches, IDC_PATCHES_NOTE), GWL_STYLE) & WS_VISIBLE);

  // No selection: the window shows no program.
  ClearSelection();
  EXPECT_TRUE(WaitUntil([&] { return Text(general, IDC_GENERAL_NAME) == L"不明なプログラム"; }));
  EXPECT_EQ(Text(details, IDC_DETAILS_NAME), L"不明なプログラム");
  EXPECT_EQ(Text(patches, IDC_PATCHES_NAME), L"不明なプログラム");
  EXPECT_EQ(Text(details, IDC_DETAILS_ROOT), L"");
  EXPECT_EQ(Text(general, IDC_GENERAL_PUBLISHER), L"");

  // The command again refills the same window; there is never a second one.
  ASSERT_TRUE(Select(L"Orv MSI Sample"));
  app.Command(kCmdProperty);
  EXPECT_EQ(app.FindDialog(L"プロパティ"), dialog);
  EXPECT_EQ(Text(general, IDC_GENERAL_NAME), L"Orv MSI Sample");

  // "閉じる" frees it; the next command makes a fresh window.
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  app.Command(kCmdProperty);
  HWND fresh = app.FindDialog(L"プロパティ");
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(Text(GetDlgItem(fresh, IDC_PROPERTY_GENERAL), IDC_GENERAL_NAME), L"Orv MSI Sample");
}

TEST_F(PropertyWindowE2E, KeyboardMovesAndClosesAsInAnyDialog) {
  Start();
  ASSERT_TRUE(Select(L"Orv MSI Sample"));
  app.Command(kCmdProperty);
  HWND dialog = app.FindDialog(L"プロパティ");
  ASSERT_NE(dialog, nullptr);
  const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
  auto focus = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
  };
  auto key = [&](HWND target, WPARAM vk) {
    PostMessageW(target, WM_KEYDOWN, vk, 1);
    PostMessageW(target, WM_KEYUP, vk, 0xC0000001);
  };
  ASSERT_TRUE(WaitUntil([&] { return focus() != nullptr && IsChild(dialog, focus()); }));
  // Tab goes from control to control inside the window, through the message loop.
  HWND first = focus();
  key(first, VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return focus() != first; })) << "Tab did not move the focus";
  EXPECT_TRUE(IsChild(dialog, focus()));
  // Esc closes it.
  key(focus(), VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "Esc did not close the window";
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void SetClipboardText(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  memcpy(GlobalLock(memory), text.c_str(), bytes);
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

TEST_F(PropertyWindowE2E, CopyLinkPutsTheTargetNotTheShownText) {
  AddUserEntry(L"OrvE2ECopy", L"E2E コピー");
  WriteValue(HKEY_CURRENT_USER, EntryKey(L"OrvE2ECopy"), L"Publisher", L"コピー発行元");
  WriteValue(HKEY_CURRENT_USER, EntryKey(L"OrvE2ECopy"), L"URLInfoAbout",
             L"https://example.invalid/maker");
  Start();
  ASSERT_TRUE(Select(L"E2E コピー"));
  app.Command(kCmdProperty);
  HWND dialog = app.FindDialog(L"プロパティ");
  ASSERT_NE(dialog, nullptr);
  HWND publisher = GetDlgItem(GetDlgItem(dialog, IDC_PROPERTY_GENERAL), IDC_GENERAL_PUBLISHER);
  EXPECT_EQ(app.Text(publisher), L"コピー発行元");
  const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
  auto menuOpen = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE);
  };
  auto rightClick = [&] {
    PostMessageW(publisher, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
    PostMessageW(publisher, WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
    ASSERT_TRUE(WaitUntil(menuOpen)) << "the link menu did not open";
    // Leave the menu; the label stays remembered for the command.
    PostMessageW(dialog, WM_CANCELMODE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !menuOpen(); }));
  };
  SetClipboardText(L"sentinel");
  rightClick();
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDM_PROPERTY_COPYLINK, 0), 0);
  EXPECT_EQ(ClipboardText(), L"https://example.invalid/maker");

  // Any other button forgets the label: the command then copies nothing.
  SetClipboardText(L"sentinel");
  // Sent, not posted: a sent message would overtake a posted one.
  SendMessageW(publisher, WM_MBUTTONUP, 0, MAKELPARAM(2, 2));
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDM_PROPERTY_COPYLINK, 0), 0);
  EXPECT_EQ(ClipboardText(), L"sentinel");
}

TEST_F(PropertyWindowE2E, ProgramLinkRunsOnlyAfterConfirmation) {
  // A script as the readme link: it leaves a mark when it runs.
  const std::wstring script = L"C:\\OrvE2E\\link_target.cmd";
  const std::wstring mark = L"C:\\OrvE2E\\link_ran.txt";
  DeleteFileW(mark.c_str());
  HANDLE file = CreateFileW(script.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const char body[] = "@echo ran> C:\\OrvE2E\\link_ran.txt\r\n";
  DWORD written = 0;
  WriteFile(file, body, sizeof body - 1, &written, nullptr);
  CloseHandle(file);
  AddUserEntry(L"OrvE2ELink", L"E2E リンク");
  WriteValue(HKEY_CURRENT_USER, EntryKey(L"OrvE2ELink"), L"Readme", script);

  Start();
  ASSERT_TRUE(Select(L"E2E リンク"));
  app.Command(kCmdProperty);
  HWND dialog = app.FindDialog(L"プロパティ");
  ASSERT_NE(dialog, nullptr);
  HWND general = GetDlgItem(dialog, IDC_PROPERTY_GENERAL);
  HWND readme = GetDlgItem(general, IDC_GENERAL_README);
  EXPECT_EQ(app.Text(readme), script);  // shown as stored
  auto click = [&] {
    PostMessageW(general, WM_COMMAND, MAKEWPARAM(IDC_GENERAL_README, STN_CLICKED),
                 reinterpret_cast<LPARAM>(readme));
  };
  click();
  HWND warning = app.FindDialog(L"警告");
  ASSERT_NE(warning, nullptr) << "a script link ran without asking";
  EXPECT_NE(AppWindow::DialogText(warning).find(script), std::wstring::npos);
  AppWindow::Answer(warning, IDNO);
  Sleep(2000);
  EXPECT_EQ(GetFileAttributesW(mark.c_str()), INVALID_FILE_ATTRIBUTES) << "No still ran it";

  click();
  warning = app.FindDialog(L"警告");
  ASSERT_NE(warning, nullptr);
  AppWindow::Answer(warning, IDYES);
  EXPECT_TRUE(WaitUntil([&] { return GetFileAttributesW(mark.c_str()) != INVALID_FILE_ATTRIBUTES; },
                        15000));
  DeleteFileW(mark.c_str());
  DeleteFileW(script.c_str());
}

TEST_F(PropertyWindowE2E, EditButtonAsksThenEditsTheShownEntry) {
  AddUserEntry(L"OrvE2EMemo", L"E2E メモ");
  WriteValue(HKEY_CURRENT_USER, EntryKey(L"OrvE2EMemo"), L"Comments", L"before");
  Start();
  ASSERT_TRUE(Select(L"E2E メモ"));
  app.Command(kCmdProperty);
  HWND dialog = app.FindDialog(L"プロパティ");
  ASSERT_NE(dialog, nullptr);
  HWND general = GetDlgItem(dialog, IDC_PROPERTY_GENERAL);
  EXPECT_EQ(Text(general, IDC_GENERAL_COMMENTS), L"before");
  auto press = [&] {
    PostMessageW(general, WM_COMMAND, MAKEWPARAM(IDC_GENERAL_EDITCOMMENT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(general, IDC_GENERAL_EDITCOMMENT)));
  };
  press();
  HWND confirm = app.FindDialog(L"確認");
  ASSERT_NE(confirm, nullptr);
  EXPECT_EQ(AppWindow::DialogText(confirm), L"この操作はレジストリを変更します。続行しますか ?");
  AppWindow::Answer(confirm, IDNO);
  EXPECT_EQ(app.FindDialog(L"メモを編集", 1000), nullptr);

  press();
  confirm = app.FindDialog(L"確認");
  ASSERT_NE(confirm, nullptr);
  AppWindow::Answer(confirm, IDYES);
  HWND editor = app.FindDialog(L"メモを編集");
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(Text(editor, IDC_EDITCOMMENT_TEXT), L"before");
  SetText(editor, IDC_EDITCOMMENT_TEXT, L"from the property window");
  AppWindow::Answer(editor, IDOK);
  // The refresh after OK refills the open window.
  EXPECT_TRUE(WaitUntil(
      [&] { return Text(general, IDC_GENERAL_COMMENTS) == L"from the property window"; }));
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, EntryKey(L"OrvE2EMemo"), L"Comments").text,
            L"from the property window");
}

TEST_F(PropertyWindowE2E, AModalStepOfOneWindowHoldsTheOtherToo) {
  Start();
  ASSERT_TRUE(Select(L"付箋メモ帳"));
  app.Command(kCmdProperty);
  HWND dialog = app.FindDialog(L"プロパティ");
  ASSERT_NE(dialog, nullptr);
  // The main window's rename dialog: "編集..." of the property window must wait for it.
  PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdRename, 0), 0);
  HWND rename = app.FindDialog(L"Rename");
  ASSERT_NE(rename, nullptr);
  EXPECT_FALSE(IsWindowEnabled(dialog));
  AppWindow::Answer(rename, IDCANCEL);
  WaitUntil([&] { return !IsWindow(rename); });
  EXPECT_TRUE(IsWindowEnabled(dialog));
  // The property window's own question holds the main window.
  HWND general = GetDlgItem(dialog, IDC_PROPERTY_GENERAL);
  PostMessageW(general, WM_COMMAND, MAKEWPARAM(IDC_GENERAL_EDITCOMMENT, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(general, IDC_GENERAL_EDITCOMMENT)));
  HWND confirm = app.FindDialog(L"確認");
  ASSERT_NE(confirm, nullptr);
  EXPECT_FALSE(IsWindowEnabled(app.Handle()));
  AppWindow::Answer(confirm, IDNO);
  WaitUntil([&] { return !IsWindow(confirm); });
  EXPECT_TRUE(IsWindowEnabled(app.Handle()));
  EXPECT_TRUE(IsWindowEnabled(dialog));
}

TEST_F(PropertyWindowE2E, OwnerClosingWhileTheWindowsBoxIsOpenEndsCleanly) {
  // The main window goes away while "編集..." waits for its answer: the property window is
  // destroyed under its own handler, which may touch nothing of it afterwards.
  Start();
  ASSERT_TRUE(Select(L"付箋メモ帳"));
  app.Command(kCmdProperty);
  HWND dialog = app.FindDialog(L"プロパティ");
  ASSERT_NE(dialog, nullptr);
  HWND general = GetDlgItem(dialog, IDC_PROPERTY_GENERAL);
  PostMessageW(general, WM_COMMAND, MAKEWPARAM(IDC_GENERAL_EDITCOMMENT, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(general, IDC_GENERAL_EDITCOMMENT)));
  ASSERT_NE(app.FindDialog(L"確認"), nullptr);
  PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdExit, 0), 0);
  ASSERT_EQ(WaitForSingleObject(app.Process(), 15000), WAIT_OBJECT_0) << "the program hangs";
  DWORD code = 1;
  GetExitCodeProcess(app.Process(), &code);
  EXPECT_EQ(code, 0u) << "the program ended abnormally";
}

TEST_F(EntryEditE2E, RenameOfTheMsiEntryAndRestore) {
  const std::wstring key = EntryKey(kMsiCode);
  struct Restore {
    std::wstring key;
    ~Restore() {
      WriteValue(HKEY_LOCAL_MACHINE, key, L"DisplayName", L"Orv MSI Sample", REG_SZ, KEY_WOW64_64KEY);
      DeleteValue(HKEY_LOCAL_MACHINE, key, L"OriginalDisplayName", KEY_WOW64_64KEY);
    }
  } restore{key};
  Start();
  ASSERT_TRUE(Select(L"Orv MSI Sample"));
  Post(kCmdRename);
  HWND dialog = app.FindDialog(L"Rename");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Text(dialog, IDC_RENAME_NEWNAME), L"Orv MSI Sample");
  EXPECT_EQ(Text(dialog, IDC_RENAME_ORIGINALNAME), L"Orv MSI Sample");
  SetText(dialog, IDC_RENAME_NEWNAME, L"Orv MSI 改名");
  AppWindow::Answer(dialog, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return RowOf(app, L"Orv MSI 改名") >= 0; }));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, L"DisplayName", KEY_WOW64_64KEY).text, L"Orv MSI 改名");
  Read original = ReadValue(HKEY_LOCAL_MACHINE, key, L"OriginalDisplayName", KEY_WOW64_64KEY);
  EXPECT_EQ(original.text, L"Orv MSI Sample");
  EXPECT_EQ(original.type, static_cast<DWORD>(REG_SZ));

  ASSERT_TRUE(Select(L"Orv MSI 改名"));
  Post(kCmdRename);
  dialog = app.FindDialog(L"Rename");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Text(dialog, IDC_RENAME_ORIGINALNAME), L"Orv MSI Sample");
  AppWindow::Answer(dialog, IDC_RENAME_RESTORE);
  EXPECT_TRUE(WaitUntil([&] { return Text(dialog, IDC_RENAME_NEWNAME) == L"Orv MSI Sample"; }));
  AppWindow::Answer(dialog, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return RowOf(app, L"Orv MSI Sample") >= 0; }));
  EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, key, L"DisplayName", KEY_WOW64_64KEY).text, L"Orv MSI Sample");
  EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, key, L"OriginalDisplayName", KEY_WOW64_64KEY).found);
}

TEST_F(EntryEditE2E, CommentOnAnExpandableStringBecomesAPlainString) {
  AddUserEntry(L"OrvE2EExpand", L"E2E 展開メモ");
  WriteValue(HKEY_CURRENT_USER, EntryKey(L"OrvE2EExpand"), L"Comments", L"%TEMP%\\memo",
             REG_EXPAND_SZ);
  Start();
  ASSERT_TRUE(Select(L"E2E 展開メモ"));
  Post(kCmdEditComment);
  HWND dialog = app.FindDialog(L"メモを編集");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Text(dialog, IDC_EDITCOMMENT_TEXT), L"%TEMP%\\memo");
  AppWindow::Answer(dialog, IDOK);
  EXPECT_TRUE(WaitUntil([&] {
    return ReadValue(HKEY_CURRENT_USER, EntryKey(L"OrvE2EExpand"), L"Comments").type == REG_SZ;
  }));
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, EntryKey(L"OrvE2EExpand"), L"Comments").text,
            L"%TEMP%\\memo");
}

TEST_F(EntryEditE2E, EntryDeletedWhileItsDialogIsOpenGivesTheMessageAndWritesNothing) {
  struct Case {
    int command;
    const wchar_t* caption;
  };
  for (const Case& c : {Case{kCmdRename, L"Rename"}, Case{kCmdEditComment, L"メモを編集"}}) {
    AddUserEntry(L"OrvE2EGone", L"E2E 消えるエントリ");
    Start();
    ASSERT_TRUE(Select(L"E2E 消えるエントリ"));
    Post(c.command);
    HWND dialog = app.FindDialog(c.caption);
    ASSERT_NE(dialog, nullptr) << c.command;
    DeleteTree(HKEY_CURRENT_USER, EntryKey(L"OrvE2EGone"));
    AppWindow::Answer(dialog, IDOK);
    HWND error = app.FindDialog(L"エラー");
    ASSERT_NE(error, nullptr) << c.command;
    EXPECT_EQ(AppWindow::DialogText(error), kEntryGone);
    AppWindow::Answer(error, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return RowOf(app, L"E2E 消えるエントリ") < 0; }));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, EntryKey(L"OrvE2EGone"))) << "the entry came back";
    EXPECT_TRUE(app.Close());
  }
}

TEST_F(EntryEditE2E, WriteRefusedByTheRegistryShowsTheError) {
  // The entry's security descriptor allows reading only.
  AddUserEntry(L"OrvE2ELocked", L"E2E 読み取り専用");
  WriteValue(HKEY_CURRENT_USER, EntryKey(L"OrvE2ELocked"), L"Comments", L"kept");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, EntryKey(L"OrvE2ELocked").c_str(), 0,
                          READ_CONTROL | WRITE_DAC, &key),
            ERROR_SUCCESS);
  auto setAccess = [&](DWORD access) {
    EXPLICIT_ACCESSW entry{};
    entry.grfAccessPermissions = access;
    entry.grfAccessMode = SET_ACCESS;
    entry.grfInheritance = NO_INHERITANCE;
    entry.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
    entry.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    entry.Trustee.ptstrName = const_cast<wchar_t*>(L"EVERYONE");
    PACL acl = nullptr;
    if (SetEntriesInAclW(1, &entry, nullptr, &acl) != ERROR_SUCCESS) return false;
    const bool done = SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION |
                                                                PROTECTED_DACL_SECURITY_INFORMATION,
                                      nullptr, nullptr, acl, nullptr) == ERROR_SUCCESS;
    LocalFree(acl);
    return done;
  };
  ASSERT_TRUE(setAccess(KEY_READ | READ_CONTROL | WRITE_DAC));
  struct Unlock {
    std::function<bool(DWORD)> set;
    HKEY key;
    ~Unlock() {
      set(KEY_ALL_ACCESS);
      RegCloseKey(key);
    }
  } unlock{setAccess, key};
  HKEY probe = nullptr;
  ASSERT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, EntryKey(L"OrvE2ELocked").c_str(), 0, KEY_SET_VALUE,
                          &probe),
            ERROR_SUCCESS)
      << "this registry does not enforce the key's security descriptor";

  Start();
  for (int command : {kCmdEditComment, kCmdRename}) {
    ASSERT_TRUE(Select(L"E2E 読み取り専用"));
    Post(command);
    HWND dialog = app.FindDialog(command == kCmdRename ? L"Rename" : L"メモを編集");
    ASSERT_NE(dialog, nullptr);
    SetText(dialog, command == kCmdRename ? IDC_RENAME_NEWNAME : IDC_EDITCOMMENT_TEXT, L"changed");
    AppWindow::Answer(dialog, IDOK);
    HWND error = app.FindDialog(L"エラー");
    ASSERT_NE(error, nullptr) << "a refused write looked accepted";
    const std::wstring text = AppWindow::DialogText(error);
    EXPECT_NE(text.find(L"書き込み用に開けません"), std::wstring::npos) << text;
    EXPECT_GT(text.size(), std::wstring(L"レジストリのキーを書き込み用に開けません. ").size() + 2)
        << "no reason given: " << text;
    AppWindow::Answer(error, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return app.FindDialog(L"エラー", 0) == nullptr; }));
  }
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, EntryKey(L"OrvE2ELocked"), L"Comments").text, L"kept");
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, EntryKey(L"OrvE2ELocked"), L"DisplayName").text,
            L"E2E 読み取り専用");
  EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, EntryKey(L"OrvE2ELocked"), L"OriginalDisplayName").found);
}

}  // namespace
}  // namespace orv::e2e
