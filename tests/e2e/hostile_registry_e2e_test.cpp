// The running window over a registry no installer should have written: 20,000 entries, 64 KiB
// strings, a key with 10,000 values, values of every wrong type, broken UTF-16 in names and
// data, SlowInfoCache records of every length and type, and entries coming and going while it
// scans. It stays up, lists what exists, sorts, refreshes, finds, exports, shows properties,
// renames and cleans up.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "annotations/rename_dialog_ids.h"
#include "app/command_ids.h"
#include "dialogs/find_dialog_ids.h"
#include "dialogs/property_dialog_ids.h"
#include "window_driver.h"

namespace orv::e2e {
namespace {

const std::wstring kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::wstring kArpCache = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache\\";
constexpr int kEntries = 20000;

void SetRaw(HKEY key, const wchar_t* name, DWORD type, const void* data, DWORD size) {
  RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
}
void SetText(HKEY key, const wchar_t* name, const std::wstring& text) {
  SetRaw(key, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// A value of any length as text; `found` false when it is not there.
std::wstring ReadText(const std::wstring& path, const wchar_t* name, bool* found = nullptr) {
  std::vector<wchar_t> buffer(70000, L'\0');
  DWORD size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
  const bool there = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr,
                                  buffer.data(), &size) == ERROR_SUCCESS;
  if (found) *found = there;
  return there ? std::wstring(buffer.data()) : std::wstring();
}

// The row of a name of any length in the names column as read (reading 20,000 cells takes a
// while, so it is read once for several names): the driver reads at most 1,023 characters of a
// cell.
int RowNamed(const std::vector<std::wstring>& names, const std::wstring& name) {
  for (std::size_t row = 0; row < names.size(); ++row)
    if (names[row] == name || (names[row].size() >= 1000 && name.rfind(names[row], 0) == 0))
      return static_cast<int>(row);
  return -1;
}

int TextLength(HWND control) {
  return static_cast<int>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0));
}

HKEY Create(const std::wstring& path) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return key;
}

class HostileRegistryE2E : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::wstring huge(32768, L'長');  // 64 KiB of text
    for (int i = 0; i < kEntries; ++i) {
      HKEY key = Create(kUninstall + L"OrvHostile" + std::to_wstring(i));
      ASSERT_NE(key, nullptr) << i;
      if (i % 1000 == 7) {
        DWORD number = 5;
        SetRaw(key, L"DisplayName", REG_DWORD, &number, 4);
      } else {
        SetText(key, L"DisplayName", L"敵対 " + std::to_wstring(i));
      }
      const DWORD one = 1;
      const wchar_t oddLength[] = L"AB";
      const wchar_t lone[] = {0xD800, L'A', 0};
      switch (i % 8) {
        case 0: SetRaw(key, L"Publisher", REG_DWORD, &one, 4); break;
        case 1: SetRaw(key, L"DisplayVersion", REG_BINARY, "\x01\x02\x03", 3); break;
        case 2: SetRaw(key, L"SystemComponent", REG_MULTI_SZ, L"1\0", 6); break;
        case 3: SetRaw(key, L"Comments", REG_SZ, oddLength, 3); break;
        case 4: SetRaw(key, L"Contact", REG_SZ, oddLength, 4); break;  // no terminator
        case 5: SetRaw(key, L"Publisher", REG_SZ, lone, sizeof lone); break;
        case 6: SetText(key, L"Publisher", L"\U0001F600 ☃ ₩"); break;  // outside code page 932
        case 7: SetRaw(key, L"EstimatedSize", REG_SZ, L"12", 6); break;
      }
      if (i < 4) {
        for (const wchar_t* name : {L"DisplayName", L"Publisher", L"UninstallString", L"Comments"})
          SetText(key, name, huge);
      }
      if (i == 10)
        for (int v = 0; v < 10000; ++v) SetText(key, (L"V" + std::to_wstring(v)).c_str(), std::to_wstring(v));
      RegCloseKey(key);
    }
    // A name that is not valid UTF-16: it must not stop the scan or the window.
    const wchar_t badName[] = {L'O', L'r', L'v', L'H', L'o', L's', L't', L'i', L'l', L'e', 0xDC00, 0};
    if (HKEY key = Create(kUninstall + badName)) {
      SetText(key, L"DisplayName", L"壊れた名前");
      RegCloseKey(key);
    }
    std::vector<unsigned char> record(560, 0);
    for (int length = 0; length <= 560; length += 8) {
      HKEY key = Create(kArpCache + L"OrvHostile" + std::to_wstring(length));
      record[0] = 0x28;
      record[1] = 0x02;
      record[4] = 1;
      SetRaw(key, L"SlowInfoCache", static_cast<DWORD>(length / 8 % 12), record.data(), static_cast<DWORD>(length));
      RegCloseKey(key);
    }
  }
  static void TearDownTestSuite() {
    for (int i = 0; i < kEntries + 600; ++i) {
      RegDeleteTreeW(HKEY_CURRENT_USER, (kUninstall + L"OrvHostile" + std::to_wstring(i)).c_str());
      RegDeleteTreeW(HKEY_CURRENT_USER, (kArpCache + L"OrvHostile" + std::to_wstring(i)).c_str());
      RegDeleteTreeW(HKEY_CURRENT_USER, (kUninstall + L"OrvChurn" + std::to_wstring(i)).c_str());
    }
    const wchar_t badName[] = {L'O', L'r', L'v', L'H', L'o', L's', L't', L'i', L'l', L'e', 0xDC00, 0};
    RegDeleteTreeW(HKEY_CURRENT_USER, (kUninstall + badName).c_str());
  }
  void TearDown() override {
    if (app.Running()) {
      EXPECT_TRUE(app.Close(60000));
    }
  }
  AppWindow app;
};

TEST_F(HostileRegistryE2E, TheWindowListsWhatExistsAndGoesOn) {
  // The first scan of 20,000 entries runs inside window creation: on a busy machine it may take
  // longer than the driver's usual wait.
  if (!app.Start(ExePath())) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindWindowW(L"TForm1", L"Orvalinde")) != nullptr; }, 120000);
    ASSERT_NE(window, nullptr) << "Orvalinde did not start";
    app.Attach(window);
  }
  // Another process's work, as the registry sees it: entries come and go during the scans.
  std::atomic<bool> stop{false};
  std::thread churn([&] {
    for (int i = 0; !stop; ++i) {
      if (HKEY key = Create(kUninstall + L"OrvChurn" + std::to_wstring(i % 500))) {
        SetText(key, L"DisplayName", L"出入り");
        RegCloseKey(key);
      }
      RegDeleteTreeW(HKEY_CURRENT_USER, (kUninstall + L"OrvChurn" + std::to_wstring((i + 250) % 500)).c_str());
    }
  });
  for (int i = 0; i < 3; ++i) app.Command(kCmdRefresh);
  stop = true;
  churn.join();
  ASSERT_TRUE(app.Running());
  for (int i = 0; i < 500; ++i)
    RegDeleteTreeW(HKEY_CURRENT_USER, (kUninstall + L"OrvChurn" + std::to_wstring(i)).c_str());
  app.Command(kCmdRefresh);
  ASSERT_TRUE(WaitUntil([&] { return app.RowCount() >= kEntries; }, 60000)) << app.RowCount();
  EXPECT_GE(RowOf(app, L"敵対 20"), 0);
  EXPECT_GE(RowOf(app, L"壊れた名前"), 0) << "the entry whose key name is not valid UTF-16";

  // Sort both ways on the name and the publisher.
  for (int position : {0, 0, 2, 2}) {
    app.ClickHeader(position);
    EXPECT_TRUE(WaitUntil([&] { return app.RowCount() >= kEntries; }, 30000));
  }
  EXPECT_EQ(app.FindDialog(L"Orvalinde", 500), nullptr) << "an error box appeared";

  // Find reaches the last entry.
  PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdFind, 0), 0);
  HWND find = app.FindDialog(L"検索");
  ASSERT_NE(find, nullptr);
  SetDlgItemTextW(find, IDC_FIND_TEXT, L"敵対 19999");
  AppWindow::Answer(find, IDOK);
  const int last = RowOf(app, L"敵対 19999");
  ASSERT_GE(last, 0);
  EXPECT_TRUE(WaitUntil([&] { return app.Selected() == last; }, 30000));

  // The property window on broken entries of each kind the fixture has: a 64 KiB name, 10,000
  // values, values of the wrong type, odd lengths, a missing terminator, an unpaired surrogate
  // in the publisher, text outside code page 932, and the entry whose key name holds one.
  const std::wstring hugeName(32768, L'長');
  const std::vector<std::wstring> names = app.Column(0);
  for (const std::wstring& name : {hugeName, std::wstring(L"敵対 10"), std::wstring(L"敵対 8"),
                                   std::wstring(L"敵対 9"), std::wstring(L"敵対 11"),
                                   std::wstring(L"敵対 12"), std::wstring(L"敵対 13"),
                                   std::wstring(L"敵対 14"), std::wstring(L"敵対 15"),
                                   std::wstring(L"壊れた名前")}) {
    const int row = RowNamed(names, name);
    ASSERT_GE(row, 0) << name.size();
    app.Select(row);
    app.Command(kCmdProperty);
    HWND window = app.FindDialog(L"プロパティ");
    ASSERT_NE(window, nullptr) << name.size();
    HWND nameField = GetDlgItem(GetDlgItem(window, IDC_PROPERTY_GENERAL), IDC_GENERAL_NAME);
    EXPECT_EQ(TextLength(nameField), static_cast<int>(name.size()));
    if (name.size() < 100) {
      EXPECT_EQ(app.Text(nameField), name);
    }
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }));
  }

  // Rename: an entry with a broken publisher, and one whose 64 KiB name becomes the original.
  struct Rename {
    std::wstring from, key, to;  // key "": one of the four entries with that name
  };
  for (const Rename& rename : {Rename{L"敵対 13", L"OrvHostile13", L"改名 13"},
                               Rename{hugeName, L"", L"短い名前"}}) {
    const int row = RowNamed(app.Column(0), rename.from);
    ASSERT_GE(row, 0);
    app.Select(row);
    PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdRename, 0), 0);
    HWND dialog = app.FindDialog(L"Rename");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextLength(GetDlgItem(dialog, IDC_RENAME_NEWNAME)),
              static_cast<int>(rename.from.size()));
    SetDlgItemTextW(dialog, IDC_RENAME_NEWNAME, rename.to.c_str());
    AppWindow::Answer(dialog, IDOK);
    // Four entries share the 64 KiB name: exactly one of them is renamed.
    const std::vector<std::wstring> keys =
        rename.key.empty()
            ? std::vector<std::wstring>{L"OrvHostile0", L"OrvHostile1", L"OrvHostile2", L"OrvHostile3"}
            : std::vector<std::wstring>{rename.key};
    std::vector<std::wstring> renamed;
    WaitUntil([&] {
      renamed.clear();
      for (const std::wstring& key : keys)
        if (ReadText(kUninstall + key, L"DisplayName") == rename.to) renamed.push_back(key);
      return !renamed.empty();
    }, 30000);
    ASSERT_EQ(renamed.size(), 1u) << rename.to.size();
    EXPECT_EQ(ReadText(kUninstall + renamed[0], L"OriginalDisplayName"), rename.from);
    SendMessageW(app.Handle(), WM_NULL, 0, 0);  // the rename's refresh has run
    EXPECT_GE(RowOf(app, rename.to), 0);
  }

  // The list as a file: a line for the header and for every row, without a box.
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring target = std::wstring(temp) + L"orv_hostile.csv";
  DeleteFileW(target.c_str());
  PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdSaveProgList, 0), 0);
  HWND save = app.DialogWith(AppWindow::kFileNameBox, 30000);
  ASSERT_NE(save, nullptr) << "no save dialog";
  ASSERT_TRUE(AppWindow::TypeFileName(save, target));
  AppWindow::Answer(save, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30000));
  SendMessageW(app.Handle(), WM_NULL, 0, 0);  // the export has finished
  EXPECT_EQ(app.FindDialog(L"エラー", 500), nullptr);
  const std::string bytes = ReadBytes(target).value_or("");
  std::size_t lines = 0;
  for (std::size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, static_cast<std::size_t>(app.RowCount()) + 1);  // the header and every row
  DeleteFileW(target.c_str());

  // Clean-up of an entry with broken values removes that one.
  const int row = RowOf(app, L"敵対 5");
  ASSERT_GE(row, 0);
  app.Select(row);
  PostMessageW(app.Handle(), WM_COMMAND, MAKEWPARAM(kCmdRemoveRegEntry, 0), 0);
  HWND box = app.FindDialog(L"警告", 10000);
  ASSERT_NE(box, nullptr);
  AppWindow::Answer(box, IDOK);
  HKEY key = nullptr;
  EXPECT_TRUE(WaitUntil([&] {
    return RegOpenKeyExW(HKEY_CURRENT_USER, (kUninstall + L"OrvHostile5").c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS;
  }));
  EXPECT_TRUE(WaitUntil([&] { return RowOf(app, L"敵対 5") < 0; }, 30000));
  EXPECT_TRUE(app.Running());
}

}  // namespace
}  // namespace orv::e2e
