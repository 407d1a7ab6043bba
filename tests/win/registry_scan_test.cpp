// The scan and the registry seam against Wine's real registry, in all three views.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "catalogue/registry_ex.h"
#include "catalogue/uninstall_scan.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "win_fixture.h"

namespace orv::test {
namespace {

const std::wstring kPrefix = L"OrvWinTest ";

std::vector<unsigned char> SlowInfoBytes(std::size_t size) {
  std::vector<unsigned char> bytes(552, 0);
  std::uint32_t hasName = 1;
  std::int64_t installSize = 3 * 1048576;
  std::int32_t used = 9;
  std::memcpy(&bytes[4], &hasName, 4);
  std::memcpy(&bytes[8], &installSize, 8);
  std::memcpy(&bytes[24], &used, 4);
  const wchar_t name[] = L"C:\\ツール\\app.exe";
  std::memcpy(&bytes[28], name, sizeof name);
  bytes.resize(size);
  return bytes;
}

class RealRegistryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (auto& [hive, path, view] : created_) DeleteTree(hive, path, view);
  }
  std::wstring Entry(HKEY hive, const std::wstring& name, REGSAM view = 0) {
    std::wstring path = kUninstallW + name;
    created_.push_back({hive, path, view});
    return path;
  }
  std::wstring Cache(HKEY hive, const std::wstring& name) {
    std::wstring path = kArpCacheW + name;
    created_.push_back({hive, path, 0});
    return path;
  }
  std::vector<TProgram> ScanMine() {
    ScanContext context{registry, system, {}, {}};
    ProgramList all;
    ScanAllUninstallKeys(context, all);
    std::vector<TProgram> mine;
    for (auto& p : all)
      if (p.KeyName.rfind(Narrow(kPrefix), 0) == 0) mine.push_back(p);
    return mine;
  }
  const TProgram* Find(const std::vector<TProgram>& programs, const std::wstring& name,
                       RegistryRoot root) {
    for (auto& p : programs)
      if (p.KeyName == Narrow(kPrefix + name) && p.RootKey == root) return &p;
    return nullptr;
  }

  struct Created {
    HKEY hive;
    std::wstring path;
    REGSAM view;
  };
  std::vector<Created> created_;
  Win32Registry registry;
  Win32System system;
};

TEST_F(RealRegistryTest, ScansAllThreeViewsInOrder) {
  RegKeyWriter(HKEY_CURRENT_USER, Entry(HKEY_CURRENT_USER, kPrefix + L"Same")).Str(L"DisplayName", L"user");
  RegKeyWriter(HKEY_LOCAL_MACHINE, Entry(HKEY_LOCAL_MACHINE, kPrefix + L"Same", KEY_WOW64_64KEY),
               KEY_WOW64_64KEY)
      .Str(L"DisplayName", L"machine 64");
  // The 32-bit view written as a 32-bit installer would, through reg.exe's own switch.
  std::wstring path32 = Entry(HKEY_LOCAL_MACHINE, kPrefix + L"Same", KEY_WOW64_32KEY);
  ASSERT_EQ(RunAndWait(L"reg.exe add \"HKLM\\" + path32 +
                       L"\" /v DisplayName /t REG_SZ /d \"machine 32\" /reg:32 /f"),
            0u);
  auto mine = ScanMine();
  ASSERT_EQ(mine.size(), 3u);
  EXPECT_EQ(mine[0].RootKey, RegistryRoot::CurrentUser);
  EXPECT_EQ(mine[0].DisplayName, "user");
  EXPECT_EQ(mine[1].RootKey, RegistryRoot::LocalMachine);
  EXPECT_EQ(mine[1].DisplayName, "machine 64");
  EXPECT_EQ(mine[2].RootKey, RegistryRoot::LocalMachine32);
  EXPECT_EQ(mine[2].DisplayName, "machine 32");
  EXPECT_EQ(ProgramIdentityKey(mine[2]), "HKLM32\\OrvWinTest Same");
}

TEST_F(RealRegistryTest, ReadsValuesTolerantlyAsStored) {
  RegKeyWriter(HKEY_CURRENT_USER, Entry(HKEY_CURRENT_USER, kPrefix + L"Values"))
      .Str(L"DisplayName", L"値の読み取り")
      .Str(L"InstallLocation", L"%ProgramFiles%\\X", REG_EXPAND_SZ)
      .Str(L"DisplayIcon", L"\"%SystemRoot%\\notepad.exe\"", REG_EXPAND_SZ)
      .Dword(L"Publisher", 7)
      .Str(L"EstimatedSize", L"1536")
      .Dword(L"SystemComponent", 1)
      .Raw(L"Comments", REG_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0});  // text ends at the first NUL
  auto mine = ScanMine();
  const TProgram* p = Find(mine, L"Values", RegistryRoot::CurrentUser);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->DisplayName, "値の読み取り");
  EXPECT_EQ(p->InstallLocation, "%ProgramFiles%\\X");
  EXPECT_EQ(AsciiUpper(p->DisplayIcon), "C:\\WINDOWS\\NOTEPAD.EXE");
  EXPECT_EQ(p->Publisher, "");
  EXPECT_EQ(p->EstimatedSize, 0u);
  EXPECT_TRUE(p->SystemComponent);
  EXPECT_EQ(p->Comments, "a");
}

TEST_F(RealRegistryTest, KeepsNonAsciiNamesAndValues) {
  const std::wstring names[] = {L"日本語のキー", L"Ünïcödé Прога", L"emoji 😀 {GUID}"};
  for (const auto& name : names)
    RegKeyWriter(HKEY_LOCAL_MACHINE, Entry(HKEY_LOCAL_MACHINE, kPrefix + name))
        .Str(L"DisplayName", name + L" 表示")
        .Str(L"Publisher", L"株式会社テスト");
  auto mine = ScanMine();
  for (const auto& name : names) {
    const TProgram* p = Find(mine, name, RegistryRoot::LocalMachine);
    ASSERT_NE(p, nullptr) << Narrow(name);
    EXPECT_EQ(p->DisplayName, Narrow(name + L" 表示"));
    EXPECT_EQ(p->Publisher, "株式会社テスト");
  }
}

TEST_F(RealRegistryTest, AKeyNameWithAnUnpairedSurrogateOpensAndDeletesOnlyItself) {
  // Its twin holds U+FFFD where the lone surrogate is: what a lossy conversion would make of it.
  const std::wstring lone = kPrefix + L"Lone" + wchar_t(0xDC00);
  const std::wstring twin = kPrefix + L"Lone" + wchar_t(0xFFFD);
  RegKeyWriter(HKEY_CURRENT_USER, Entry(HKEY_CURRENT_USER, lone)).Str(L"DisplayName", L"ひとり");
  RegKeyWriter(HKEY_CURRENT_USER, Entry(HKEY_CURRENT_USER, twin)).Str(L"DisplayName", L"双子");
  std::vector<std::string> names;
  for (const TProgram& p : ScanMine())
    if (p.RootKey == RegistryRoot::CurrentUser) names.push_back(p.KeyName + "=" + p.DisplayName);
  std::sort(names.begin(), names.end());
  const std::vector<std::string> expected = {NarrowName(lone) + "=ひとり", Narrow(twin) + "=双子"};
  EXPECT_EQ(names, expected);

  auto uninstall = registry.OpenKey(RegistryRoot::CurrentUser,
                                    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                                    KeyAccess::ReadWrite);
  ASSERT_NE(uninstall, nullptr);
  EXPECT_TRUE(uninstall->DeleteSubKeyTree(NarrowName(lone)));
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, (kUninstallW + lone).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (kUninstallW + twin).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(RealRegistryTest, SlowInfoCacheIsReadOnlyWhenItFits) {
  struct Case {
    const wchar_t* name;
    DWORD type;
    std::vector<unsigned char> bytes;
    bool has;
  };
  const Case cases[] = {
      {L"Cache552", REG_BINARY, SlowInfoBytes(552), true},
      {L"Cache40", REG_BINARY, SlowInfoBytes(40), true},
      {L"Cache0", REG_BINARY, {}, false},
      {L"Cache553", REG_BINARY, [] { auto b = SlowInfoBytes(552); b.push_back(1); return b; }(),
       false},
      {L"CacheString", REG_SZ, SlowInfoBytes(552), false},
  };
  for (const auto& c : cases) {
    RegKeyWriter(HKEY_CURRENT_USER, Entry(HKEY_CURRENT_USER, kPrefix + c.name))
        .Str(L"DisplayName", c.name);
    RegKeyWriter(HKEY_CURRENT_USER, Cache(HKEY_CURRENT_USER, kPrefix + c.name))
        .Raw(L"SlowInfoCache", c.type, c.bytes);
  }
  auto mine = ScanMine();
  for (const auto& c : cases) {
    const TProgram* p = Find(mine, c.name, RegistryRoot::CurrentUser);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->HasSlowInfoCache, c.has) << Narrow(c.name);
    EXPECT_EQ(p->InstallSize, c.has ? 3 * 1048576 : 0) << Narrow(c.name);
    EXPECT_EQ(p->UsageFrequency, c.has ? 9 : 0) << Narrow(c.name);
  }
  EXPECT_EQ(Find(mine, L"Cache552", RegistryRoot::CurrentUser)->SlowInfoFileName,
            "C:\\ツール\\app.exe");
  EXPECT_EQ(Find(mine, L"Cache40", RegistryRoot::CurrentUser)->SlowInfoFileName,
            "C:\\ツール");  // as far as 40 bytes go: six characters
}

TEST_F(RealRegistryTest, CountsFollowAddedEntries) {
  for (RegistryRoot root : kAllRegistryRoots) {
    std::int32_t before = CountUninstallKeys(registry, root);
    ASSERT_GE(before, 0);
    HKEY hive = root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    REGSAM view = root == RegistryRoot::LocalMachine32 ? KEY_WOW64_32KEY
                  : root == RegistryRoot::LocalMachine ? KEY_WOW64_64KEY
                                                       : 0;
    RegKeyWriter(hive, Entry(hive, kPrefix + L"Count", view), view).Str(L"DisplayName", L"c");
    EXPECT_EQ(CountUninstallKeys(registry, root), before + 1);
  }
}

TEST_F(RealRegistryTest, WritesAndDeletesOnlyWithinTheOpenKey) {
  std::wstring path = Entry(HKEY_CURRENT_USER, kPrefix + L"Write");
  RegKeyWriter(HKEY_CURRENT_USER, path).Str(L"DisplayName", L"before");
  RegKeyWriter(HKEY_CURRENT_USER, path + L"\\Child\\Grandchild").Str(L"X", L"y");
  TRegistryEx reg(registry);
  reg.SetRootKey(RegistryRoot::CurrentUser);
  ASSERT_TRUE(reg.OpenKeyForWrite(Narrow(path)));
  EXPECT_TRUE(reg.WriteString("DisplayName", "書き込み後"));
  EXPECT_TRUE(reg.DeleteValue("DisplayName"));
  EXPECT_FALSE(reg.ValueExists("DisplayName"));
  EXPECT_FALSE(reg.DeleteKey(""));
  EXPECT_FALSE(reg.DeleteKey("Child\\Grandchild"));
  EXPECT_TRUE(reg.DeleteKey("Child"));
  EXPECT_EQ(reg.SubKeyCount(), 0);
  EXPECT_FALSE(reg.OpenKeyForWrite(Narrow(path) + "\\Missing"));  // never created
  EXPECT_FALSE(reg.OpenKeyReadOnly(Narrow(path) + "\\Missing"));
}

}  // namespace
}  // namespace orv::test
