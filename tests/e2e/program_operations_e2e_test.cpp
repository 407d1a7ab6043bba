// The list's own operations in the real window: the registry clean-up (identity, own hive and
// view, refusals told), the shell actions' enabling and confirmation, the clipboard, the tab
// keys and a shortcut dropped onto the window.
#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstring>
#include <functional>

#include "app/command_ids.h"
#include "window_driver.h"

namespace orv::e2e {
namespace {

const std::wstring kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::wstring kArpCache =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache\\";
const std::wstring kFusenFolder = L"C:\\Users\\Public\\Fusen";
const std::wstring kFusenExe = L"C:\\Users\\Public\\Fusen\\fusen.exe";  // demo.reg's cached file

bool KeyExists(HKEY hive, const std::wstring& path, REGSAM view = 0) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(hive, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void WriteString(HKEY hive, const std::wstring& path, const wchar_t* name, const std::wstring& text,
                 REGSAM view = 0) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(hive, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

void RemoveTree(HKEY hive, const std::wstring& path, REGSAM view = 0) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(hive, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS) return;
  RegDeleteTreeW(key, nullptr);
  RegCloseKey(key);
  RegDeleteKeyExW(hive, path.c_str(), view, 0);
}

// Everyone may read and write the key, nobody may delete it; or, with `deny` false, the
// default rights again.
bool DenyDelete(HKEY hive, const std::wstring& path, bool deny) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(hive, path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) return false;
  SECURITY_DESCRIPTOR sd{};
  InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  PACL acl = nullptr;
  PSID everyone = nullptr;
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  if (deny &&
      AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) {
    EXPLICIT_ACCESSW access[2]{};
    access[0].grfAccessPermissions = DELETE;
    access[0].grfAccessMode = DENY_ACCESS;
    access[0].Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access[0].Trustee.ptstrName = static_cast<LPWSTR>(everyone);
    access[1] = access[0];
    access[1].grfAccessPermissions = KEY_READ | KEY_WRITE | WRITE_DAC;
    access[1].grfAccessMode = GRANT_ACCESS;
    SetEntriesInAclW(2, access, nullptr, &acl);
  }
  SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
  bool set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
  RegCloseKey(key);
  if (acl) LocalFree(acl);
  if (everyone) FreeSid(everyone);
  return set && (!deny || acl);
}

// A real HDROP, made where the shell makes it: in the receiving process. GlobalAlloc runs
// there on a remote thread (the few instructions below), the DROPFILES block is written into
// the memory it returned, and WM_DROPFILES is posted. The program must DragFinish it.
struct Dropped {
  void* drop = nullptr;
  std::size_t size = 0;
};

Dropped DropFiles(const AppWindow& app, const std::vector<std::wstring>& files) {
  std::vector<unsigned char> block(sizeof(DROPFILES));
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.fWide = TRUE;
  std::memcpy(block.data(), &header, sizeof header);
  for (const std::wstring& file : files) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.c_str());
    block.insert(block.end(), bytes, bytes + (file.size() + 1) * sizeof(wchar_t));
  }
  block.insert(block.end(), sizeof(wchar_t), 0);

  // rcx -> {GlobalAlloc, size, result}: result = GlobalAlloc(GMEM_FIXED, size).
  static const unsigned char kCode[] = {
      0x53,                    // push rbx
      0x48, 0x83, 0xEC, 0x20,  // sub rsp, 32
      0x48, 0x89, 0xCB,        // mov rbx, rcx
      0x31, 0xC9,              // xor ecx, ecx
      0x48, 0x8B, 0x53, 0x08,  // mov rdx, [rbx+8]
      0xFF, 0x13,              // call [rbx]
      0x48, 0x89, 0x43, 0x10,  // mov [rbx+16], rax
      0x31, 0xC0,              // xor eax, eax
      0x48, 0x83, 0xC4, 0x20,  // add rsp, 32
      0x5B,                    // pop rbx
      0xC3,                    // ret
  };
  HANDLE process = app.Process();
  void* remote =
      VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
  if (!remote) return {};
  struct Free {
    HANDLE process;
    void* remote;
    ~Free() { VirtualFreeEx(process, remote, 0, MEM_RELEASE); }
  } release{process, remote};
  std::uint64_t params[3] = {reinterpret_cast<std::uint64_t>(reinterpret_cast<void*>(
                                 GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GlobalAlloc"))),
                             block.size(), 0};
  auto* base = static_cast<char*>(remote);
  if (!WriteProcessMemory(process, base, params, sizeof params, nullptr) ||
      !WriteProcessMemory(process, base + 32, kCode, sizeof kCode, nullptr))
    return {};
  HANDLE thread = CreateRemoteThread(
      process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(base + 32), base, 0, nullptr);
  if (!thread) return {};
  WaitForSingleObject(thread, 10000);
  CloseHandle(thread);
  ReadProcessMemory(process, base + 16, &params[2], sizeof params[2], nullptr);
  void* drop = reinterpret_cast<void*>(params[2]);
  if (!drop || !WriteProcessMemory(process, drop, block.data(), block.size(), nullptr) ||
      !PostMessageW(app.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0))
    return {};
  return {drop, block.size()};
}

// Whether the drop's memory is still allocated in the program: GlobalSize runs there and
// answers the block's size until DragFinish has freed it.
bool StillAllocated(const AppWindow& app, const Dropped& dropped) {
  auto globalSize = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GlobalSize")));
  HANDLE thread =
      CreateRemoteThread(app.Process(), nullptr, 0, globalSize, dropped.drop, 0, nullptr);
  if (!thread) return true;
  WaitForSingleObject(thread, 10000);
  DWORD size = 0;
  GetExitCodeThread(thread, &size);
  CloseHandle(thread);
  return size == dropped.size;
}

bool SaveShortcut(const std::wstring& path, const std::wstring& target) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  bool saved = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_IShellLinkW, reinterpret_cast<void**>(&link))) &&
               SUCCEEDED(link->SetPath(target.c_str())) &&
               SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
               SUCCEEDED(file->Save(path.c_str(), TRUE));
  if (file) file->Release();
  if (link) link->Release();
  CoUninitialize();
  return saved;
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

// Real keystrokes into the window's input queue: Ctrl (and Shift) held around Tab.
void PressCtrlTab(HWND window, bool shift) {
  SetForegroundWindow(window);
  std::vector<INPUT> inputs;
  auto key = [&](WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
  };
  key(VK_CONTROL, false);
  if (shift) key(VK_SHIFT, false);
  key(VK_TAB, false);
  key(VK_TAB, true);
  if (shift) key(VK_SHIFT, true);
  key(VK_CONTROL, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PressEnter(HWND window) {
  SetForegroundWindow(window);
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = VK_RETURN;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

class ProgramOperationsE2E : public ::testing::Test {
 protected:
  void TearDown() override {
    if (app.Running()) {
      EXPECT_TRUE(app.Close());
    }
    for (auto& [hive, path, view] : created_) RemoveTree(hive, path, view);
  }
  void Made(HKEY hive, const std::wstring& path, REGSAM view = 0) {
    created_.push_back({hive, path, view});
  }
  bool Select(const std::wstring& name) {
    int row = RowOf(app, name);
    if (row < 0) return false;
    app.Select(row);
    return app.Selected() == row;
  }
  // Posts a command whose box answers later; the box belongs to the program's own loop.
  HWND PostAndFind(int command, const wchar_t* caption) {
    PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return app.FindDialog(caption);
  }
  int ColumnOf(const std::wstring& caption) {
    auto headers = app.Headers();
    auto it = std::find(headers.begin(), headers.end(), caption);
    return it == headers.end() ? -1 : static_cast<int>(it - headers.begin());
  }
  AppWindow app;

 private:
  struct Key {
    HKEY hive;
    std::wstring path;
    REGSAM view;
  };
  std::vector<Key> created_;
};

TEST_F(ProgramOperationsE2E, RemovingTheUsersEntryLeavesItsMachineTwinAndTheRowGoesWithoutF5) {
  const std::wstring entry = kUninstall + L"OrvTwin";
  WriteString(HKEY_CURRENT_USER, entry, L"DisplayName", L"双子 (ユーザー)");
  WriteString(HKEY_CURRENT_USER, entry + L"\\Nested\\Deeper", L"X", L"y");
  WriteString(HKEY_CURRENT_USER, kArpCache + L"OrvTwin", L"Kept", L"cache");
  WriteString(HKEY_LOCAL_MACHINE, entry, L"DisplayName", L"双子 (マシン)", KEY_WOW64_64KEY);
  Made(HKEY_CURRENT_USER, entry);
  Made(HKEY_CURRENT_USER, kArpCache + L"OrvTwin");
  Made(HKEY_LOCAL_MACHINE, entry, KEY_WOW64_64KEY);
  ASSERT_TRUE(app.Start(ExePath()));
  const int before = app.RowCount();

  // Cancel is the default button, and cancelling keeps everything.
  ASSERT_TRUE(Select(L"双子 (ユーザー)"));
  HWND box = PostAndFind(kCmdRemoveRegEntry, L"警告");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(AppWindow::DialogText(box),
            L"これはレジストリに残ってしまったごみ情報を削除するための機能です。\n"
            L"必要な情報を削除してしまうとプログラムがアンインストールできなくなります。\n\n"
            L"本当にこのプログラムのレジストリ情報を削除してもよろしいですか ?");
  PressEnter(box);  // Enter at once: Cancel
  ASSERT_TRUE(WaitUntil([&] { return app.FindDialog(L"警告", 0) == nullptr; }));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, entry + L"\\Nested\\Deeper"));

  box = PostAndFind(kCmdRemoveRegEntry, L"警告");
  ASSERT_NE(box, nullptr);
  AppWindow::Answer(box, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return RowOf(app, L"双子 (ユーザー)") < 0; }, 5000))
      << "the row stayed: the watch did not see the removed entry";
  EXPECT_EQ(app.RowCount(), before - 1);
  EXPECT_GE(RowOf(app, L"双子 (マシン)"), 0);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, entry));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, entry, KEY_WOW64_64KEY));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kArpCache + L"OrvTwin"));  // the other command's
  EXPECT_EQ(app.FindDialog(L"エラー", 500), nullptr);
}

TEST_F(ProgramOperationsE2E, TheLastEntryOfARootLeavesTheListWhenRemoved) {
  // The fixture's only current-user entry; kept aside and put back whatever happens.
  const std::wstring entry = kUninstall + L"OrvUserNotes";
  const std::wstring backup = L"Software\\OrvE2EBackup\\OrvUserNotes";
  HKEY uninstall = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kUninstall.c_str(), 0, KEY_READ, &uninstall),
            ERROR_SUCCESS);
  DWORD entries = 0;
  RegQueryInfoKeyW(uninstall, nullptr, nullptr, nullptr, &entries, nullptr, nullptr, nullptr,
                   nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(uninstall);
  ASSERT_EQ(entries, 1u) << "the fixture changed: this test needs one current-user entry";
  auto copy = [](const std::wstring& from, const std::wstring& to) {
    HKEY source = nullptr, target = nullptr;
    bool copied =
        RegOpenKeyExW(HKEY_CURRENT_USER, from.c_str(), 0, KEY_READ, &source) == ERROR_SUCCESS &&
        RegCreateKeyExW(HKEY_CURRENT_USER, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &target, nullptr) == ERROR_SUCCESS &&
        RegCopyTreeW(source, nullptr, target) == ERROR_SUCCESS;
    if (source) RegCloseKey(source);
    if (target) RegCloseKey(target);
    return copied;
  };
  ASSERT_TRUE(copy(entry, backup));
  struct Restore {
    std::function<bool(const std::wstring&, const std::wstring&)> copy;
    std::wstring entry, backup;
    ~Restore() {
      if (!KeyExists(HKEY_CURRENT_USER, entry)) {
        EXPECT_TRUE(copy(backup, entry));
      }
      RemoveTree(HKEY_CURRENT_USER, L"Software\\OrvE2EBackup");
    }
  } restore{copy, entry, backup};

  ASSERT_TRUE(app.Start(ExePath()));
  ASSERT_TRUE(Select(L"付箋メモ帳"));
  HWND box = PostAndFind(kCmdRemoveRegEntry, L"警告");
  ASSERT_NE(box, nullptr);
  AppWindow::Answer(box, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return RowOf(app, L"付箋メモ帳") < 0; }, 5000))
      << "the row stayed: an emptied Uninstall key was not taken as a change";
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, entry));
}

TEST_F(ProgramOperationsE2E, SlowInfoCacheGoesAndTheListKeepsItUntilF5) {
  const std::wstring entry = kUninstall + L"OrvCached";
  WriteString(HKEY_CURRENT_USER, entry, L"DisplayName", L"キャッシュ付きツール");
  Made(HKEY_CURRENT_USER, entry);
  Made(HKEY_CURRENT_USER, kArpCache + L"OrvCached");
  {
    std::vector<unsigned char> record(552, 0);
    const std::uint32_t size = 552, hasName = 1;
    const wchar_t name[] = L"C:\\Cached\\tool.exe";
    std::memcpy(&record[0], &size, 4);
    std::memcpy(&record[4], &hasName, 4);
    std::memcpy(&record[28], name, sizeof name);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (kArpCache + L"OrvCached").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"SlowInfoCache", 0, REG_BINARY, record.data(), 552);
    RegCloseKey(key);
    WriteString(HKEY_CURRENT_USER, kArpCache + L"OrvCached\\Nested", L"X", L"y");
  }
  ASSERT_TRUE(app.Start(ExePath()));
  const int fileColumn = ColumnOf(L"ファイル名");
  ASSERT_GE(fileColumn, 0);
  ASSERT_TRUE(Select(L"キャッシュ付きツール"));
  EXPECT_EQ(app.Cell(app.Selected(), fileColumn), L"C:\\Cached\\tool.exe");

  HWND box = PostAndFind(kCmdDeleteSlowInfoCache, L"警告");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(AppWindow::DialogText(box),
            L"これはレジストリからSlowInfoCacheを削除するための機能です。\n\n"
            L"本当にこのプログラムのSlowInfoCacheを削除してもよろしいですか ?");
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(box, IDCANCEL), GWL_STYLE) & BS_DEFPUSHBUTTON);
  AppWindow::Answer(box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !KeyExists(HKEY_CURRENT_USER, kArpCache + L"OrvCached"); }));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, entry));
  Sleep(1500);  // a watch tick or more: the count did not change, nothing is rescanned
  int row = RowOf(app, L"キャッシュ付きツール");
  ASSERT_GE(row, 0);
  EXPECT_EQ(app.Cell(row, fileColumn), L"C:\\Cached\\tool.exe");
  app.Command(kCmdRefresh);
  row = RowOf(app, L"キャッシュ付きツール");
  ASSERT_GE(row, 0);
  EXPECT_EQ(app.Cell(row, fileColumn), L"");
  // Nothing left to delete: the command does nothing and says nothing.
  ASSERT_TRUE(Select(L"キャッシュ付きツール"));
  box = PostAndFind(kCmdDeleteSlowInfoCache, L"警告");
  ASSERT_NE(box, nullptr);
  AppWindow::Answer(box, IDOK);
  EXPECT_EQ(app.FindDialog(L"エラー", 1000), nullptr);
}

TEST_F(ProgramOperationsE2E, ARefusedDeleteIsToldInAnErrorBox) {
  const std::wstring entry = kUninstall + L"OrvGuarded";
  WriteString(HKEY_CURRENT_USER, entry, L"DisplayName", L"削除できないエントリ");
  Made(HKEY_CURRENT_USER, entry);
  ASSERT_TRUE(DenyDelete(HKEY_CURRENT_USER, entry, true));
  ASSERT_TRUE(app.Start(ExePath()));
  ASSERT_TRUE(Select(L"削除できないエントリ"));
  HWND box = PostAndFind(kCmdRemoveRegEntry, L"警告");
  ASSERT_NE(box, nullptr);
  AppWindow::Answer(box, IDOK);
  HWND error = app.FindDialog(L"エラー");
  ASSERT_NE(error, nullptr);
  const std::wstring text = AppWindow::DialogText(error);
  EXPECT_EQ(
      text.rfind(
          L"レジストリキーを削除できません。\nHKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\"
          L"CurrentVersion\\Uninstall\\OrvGuarded\n\n",
          0),
      0u)
      << text.c_str();
  EXPECT_NE(text.find(L"(5)"), std::wstring::npos) << text.c_str();
  AppWindow::Answer(error, IDOK);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, entry));
  EXPECT_TRUE(DenyDelete(HKEY_CURRENT_USER, entry, false));
}

TEST_F(ProgramOperationsE2E, ShellActionsFollowTheFileSystemAndRunAsksFirst) {
  ASSERT_TRUE(app.Start(ExePath()));
  ASSERT_TRUE(Select(L"付箋メモ帳"));
  EXPECT_FALSE(app.Enabled(kCmdOpenFolder));  // neither its folder nor its program exists
  EXPECT_FALSE(app.Enabled(kCmdExecuteProgram));
  EXPECT_FALSE(app.Enabled(kCmdOpenURLInfoAbout));
  ASSERT_TRUE(CreateDirectoryW(kFusenFolder.c_str(), nullptr));
  HANDLE file =
      CreateFileW(kFusenExe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  struct Remove {
    ~Remove() {
      DeleteFileW(kFusenExe.c_str());
      RemoveDirectoryW(kFusenFolder.c_str());
    }
  } remove;
  ASSERT_TRUE(Select(L"写真ビューア Lumière"));
  EXPECT_TRUE(app.Enabled(kCmdOpenURLInfoAbout));  // an https address
  ASSERT_TRUE(Select(L"付箋メモ帳"));
  EXPECT_TRUE(app.Enabled(kCmdOpenFolder));
  EXPECT_TRUE(app.Enabled(kCmdExecuteProgram));

  HWND box = PostAndFind(kCmdExecuteProgram, L"確認");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(AppWindow::DialogText(box), kFusenExe + L"\nを実行しますか ?");
  AppWindow::Answer(box, IDNO);
  EXPECT_TRUE(WaitUntil([&] { return app.FindDialog(L"確認", 0) == nullptr; }));

  OpenClipboard(nullptr);
  EmptyClipboard();
  CloseClipboard();
  app.Command(kCmdCopyAppName);
  EXPECT_EQ(ClipboardText(), L"付箋メモ帳");
}

TEST_F(ProgramOperationsE2E, CtrlTabAndShiftCtrlTabToggleTheTabs) {
  ASSERT_TRUE(app.Start(ExePath()));
  ASSERT_EQ(app.CurrentTab(), 0);
  PressCtrlTab(app.Handle(), false);
  EXPECT_TRUE(WaitUntil([&] { return app.CurrentTab() == 1; }, 3000));
  PressCtrlTab(app.Handle(), false);  // the last tab is followed by the first
  EXPECT_TRUE(WaitUntil([&] { return app.CurrentTab() == 0; }, 3000));
  PressCtrlTab(app.Handle(), true);  // and the first is preceded by the last
  EXPECT_TRUE(WaitUntil([&] { return app.CurrentTab() == 1; }, 3000));
  PressCtrlTab(app.Handle(), true);
  EXPECT_TRUE(WaitUntil([&] { return app.CurrentTab() == 0; }, 3000));
}

TEST_F(ProgramOperationsE2E, DroppedShortcutSelectsTheProgramThatShowsItsTarget) {
  ASSERT_TRUE(CreateDirectoryW(kFusenFolder.c_str(), nullptr));
  HANDLE file =
      CreateFileW(kFusenExe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  const std::wstring shortcut = L"C:\\OrvE2E\\付箋メモ帳.LNK";
  struct Remove {
    std::wstring shortcut;
    ~Remove() {
      DeleteFileW(shortcut.c_str());
      DeleteFileW(kFusenExe.c_str());
      RemoveDirectoryW(kFusenFolder.c_str());
    }
  } remove{shortcut};
  ASSERT_TRUE(SaveShortcut(shortcut, kFusenExe));
  ASSERT_TRUE(app.Start(ExePath()));
  ASSERT_GE(ColumnOf(L"ファイル名"), 0);  // the column that shows the cached program file
  const int fusen = RowOf(app, L"付箋メモ帳");
  ASSERT_GE(fusen, 0);

  struct Case {
    const char* label;
    std::vector<std::wstring> files;
    int row;
  } cases[] = {
      {"a shortcut stands for its target", {shortcut}, fusen},
      {"a program file is searched as it is, letter case ignored",
       {L"c:\\users\\public\\fusen\\FUSEN.EXE", L"Atelier Kōbō"},
       fusen},
      {"only the first file counts", {L"C:\\nowhere\\none.exe", L"C:\\Users\\Public\\Fusen"}, -1},
      {"a shortcut that cannot be read finds nothing", {L"C:\\OrvE2E\\Orvalinde.ini.lnk"}, -1},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Select(L"写真ビューア Lumière"));  // another row was selected before
    const Dropped dropped = DropFiles(app, c.files);
    ASSERT_NE(dropped.drop, nullptr) << c.label;
    EXPECT_TRUE(WaitUntil([&] { return app.Selected() == c.row; }, 3000))
        << c.label << ": selected " << app.Selected();
    EXPECT_TRUE(WaitUntil([&] { return !StillAllocated(app, dropped); }, 3000))
        << c.label << ": the drop handle was not finished";
  }
}

}  // namespace
}  // namespace orv::e2e
