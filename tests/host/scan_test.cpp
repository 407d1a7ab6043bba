#include <gtest/gtest.h>

#include "catalogue/registry_watch.h"
#include "catalogue/uninstall_scan.h"
#include "platform/memory/memory_system.h"
#include "registry_fixture.h"

namespace orv::test {
namespace {

constexpr auto HKCU = RegistryRoot::CurrentUser;
constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKLM32 = RegistryRoot::LocalMachine32;

class ScanTest : public ::testing::Test {
 protected:
  void Named(RegistryRoot root, const std::string& key, const std::string& name) {
    reg.SetString(root, EntryPath(key), "DisplayName", name);
  }
  ProgramList ScanAll() {
    ScanContext context{reg, system, {}, {}};
    ProgramList programs;
    programs.push_back(TProgram{});  // a stale record that the full rescan must drop
    ScanAllUninstallKeys(context, programs);
    return programs;
  }
  TProgram ScanOne(const std::string& key) {
    for (auto& p : ScanAll())
      if (p.KeyName == key) return p;
    ADD_FAILURE() << "no record for " << key;
    return {};
  }
  MemoryRegistry reg;
  MemorySystem system;
};

TEST_F(ScanTest, ReadsRootsInOrderAndKeepsDuplicates) {
  Named(HKLM32, "Same", "32-bit");
  Named(HKLM, "Same", "machine");
  Named(HKCU, "Same", "user");
  Named(HKCU, "Other", "user other");
  auto programs = ScanAll();
  ASSERT_EQ(programs.size(), 4u);
  EXPECT_EQ(programs[0].DisplayName, "user");
  EXPECT_EQ(programs[1].DisplayName, "user other");
  EXPECT_EQ(programs[2].DisplayName, "machine");
  EXPECT_EQ(programs[2].RootKey, HKLM);
  EXPECT_EQ(programs[3].DisplayName, "32-bit");
  EXPECT_EQ(programs[3].RootKey, HKLM32);
  EXPECT_EQ(ProgramIdentityKey(programs[0]), "HKCU\\Same");
  EXPECT_EQ(ProgramIdentityKey(programs[2]), "HKLM\\Same");
  EXPECT_EQ(ProgramIdentityKey(programs[3]), "HKLM32\\Same");
}

TEST_F(ScanTest, ListsOnlyEntriesWithAName) {
  reg.SetString(HKLM, EntryPath("QuietOnly"), "QuietDisplayName", "静かな名前");
  reg.SetString(HKLM, EntryPath("{BARE-PRODUCT}"), "UninstallString", "x.exe");
  reg.SetString(HKLM, EntryPath("EmptyName"), "DisplayName", "");
  reg.SetDword(HKLM, EntryPath("DwordName"), "DisplayName", 5);
  auto programs = ScanAll();
  ASSERT_EQ(programs.size(), 3u);
  EXPECT_EQ(programs[0].DisplayName, "静かな名前");
  EXPECT_EQ(programs[1].KeyName, "EmptyName");
  EXPECT_EQ(programs[1].DisplayName, "");
  EXPECT_EQ(programs[2].KeyName, "DwordName");  // exists, of the wrong type: listed, name ""
  EXPECT_EQ(programs[2].DisplayName, "");
}

TEST_F(ScanTest, MissingRootsContributeNothing) {
  Named(HKLM, "A", "machine only");
  auto programs = ScanAll();
  ASSERT_EQ(programs.size(), 1u);
  EXPECT_EQ(programs[0].RootKey, HKLM);
  EXPECT_EQ(CountUninstallKeys(reg, HKCU), -1);
  EXPECT_EQ(CountUninstallKeys(reg, HKLM), 1);
}

TEST_F(ScanTest, FillsEveryFieldFromItsValue) {
  const std::string p = EntryPath("Full");
  reg.SetString(HKLM, p, "DisplayName", "");
  reg.SetString(HKLM, p, "QuietDisplayName", "Quiet name");
  reg.SetString(HKLM, p, "UninstallString", "\"C:\\P\\unins.exe\" /x");
  reg.SetString(HKLM, p, "QuietUninstallString", "q.exe /S");
  reg.SetString(HKLM, p, "DisplayVersion", "1.2.3");
  reg.SetString(HKLM, p, "Publisher", "Ogawa Soft");
  reg.SetString(HKLM, p, "HelpLink", "  http://help.example/ \t");
  reg.SetString(HKLM, p, "URLInfoAbout", "\r\nhttp://about.example/");
  reg.SetString(HKLM, p, "Comments", "  keeps blanks  ");
  reg.SetString(HKLM, p, "DisplayIcon", "%SystemRoot%\\x.exe");
  reg.SetString(HKLM, p, "InstallSource", "%TEMP%\\src", kRegExpandSz);
  reg.SetDword(HKLM, p, "EstimatedSize", 0xFFFFFFFFu);
  reg.SetDword(HKLM, p, "WindowsInstaller", 2);
  reg.SetString(HKLM, p, "SystemComponent", "1");
  reg.SetDword(HKLM, p, "NoModify", 1);
  reg.SetDword(HKLM, p, "NoRepair", 0);
  reg.SetBinary(HKLM, p, "NoRemove", {1, 0, 0, 0});
  reg.SetString(HKLM, p, "InstallLocation", "");
  reg.SetString(HKLM, p, "InstallDir", "");
  reg.SetString(HKLM, p, "Inno Setup: App Path", "C:\\Inno");
  reg.SetString(HKLM, p, "InstallDate", "20261210");
  TProgram r = ScanOne("Full");
  EXPECT_EQ(r.DisplayName, "Quiet name");
  EXPECT_EQ(r.UninstallString, "\"C:\\P\\unins.exe\" /x");
  EXPECT_EQ(r.QuietUninstallString, "q.exe /S");
  EXPECT_EQ(r.DisplayVersion, "1.2.3");
  EXPECT_EQ(r.Publisher, "Ogawa Soft");
  EXPECT_EQ(r.HelpLink, "http://help.example/");
  EXPECT_EQ(r.URLInfoAbout, "http://about.example/");
  EXPECT_EQ(r.Comments, "  keeps blanks  ");
  EXPECT_EQ(r.DisplayIcon, "C:\\Windows\\x.exe");
  EXPECT_EQ(r.InstallSource, "%TEMP%\\src");  // expandable strings are kept as stored
  EXPECT_EQ(r.EstimatedSize, 0xFFFFFFFFu);
  EXPECT_FALSE(r.WindowsInstaller);
  EXPECT_FALSE(r.SystemComponent);
  EXPECT_TRUE(r.NoModify);
  EXPECT_FALSE(r.NoRepair);
  EXPECT_FALSE(r.NoRemove);
  EXPECT_EQ(r.InstallLocation, "C:\\Inno");
  EXPECT_EQ(r.InstallDate, "20261210");
  EXPECT_EQ(r.IconIndex, -1);
  EXPECT_EQ(r.TagIndex, -1);
  EXPECT_TRUE(r.ChangeAllowed);
  EXPECT_TRUE(r.IsNew);  // no annotation store: every program is new
}

TEST_F(ScanTest, InstallLocationFallsBackToInstallDir) {
  reg.SetString(HKCU, EntryPath("D"), "DisplayName", "d");
  reg.SetString(HKCU, EntryPath("D"), "InstallDir", "C:\\Dir");
  reg.SetString(HKCU, EntryPath("D"), "Inno Setup: App Path", "C:\\Inno");
  EXPECT_EQ(ScanOne("D").InstallLocation, "C:\\Dir");
}

TEST_F(ScanTest, AnnotationAndIconHooksSeeTheFilledRecord) {
  Named(HKLM, "Tagged", "t");
  ScanContext context{reg, system,
                      [](TProgram& p) {
                        p.TagIndex = 3;
                        p.ChangeAllowed = false;
                        p.IsNew = false;
                      },
                      [](const TProgram& p) { return p.DisplayName == "t" ? 7 : -1; }};
  ProgramList programs;
  ScanUninstallKey(context, HKLM, programs);
  ASSERT_EQ(programs.size(), 1u);
  EXPECT_EQ(programs[0].TagIndex, 3);
  EXPECT_FALSE(programs[0].ChangeAllowed);
  EXPECT_FALSE(programs[0].IsNew);
  EXPECT_EQ(programs[0].IconIndex, 7);
}

struct SlowInfoCase {
  const char* label;
  std::uint32_t type;
  std::vector<unsigned char> bytes;
  bool has;
  std::int64_t size;
  std::int32_t frequency;
  const char* fileName;
};

void PrintTo(const SlowInfoCase& c, std::ostream* os) { *os << c.label; }

class SlowInfoTest : public ScanTest, public ::testing::WithParamInterface<SlowInfoCase> {};

TEST_P(SlowInfoTest, ReadsOnlyWhatFits) {
  const auto& c = GetParam();
  Named(HKLM, "App", "app");
  reg.SetBinary(HKLM, CachePath("App"), "SlowInfoCache", c.bytes, c.type);
  TProgram r = ScanOne("App");
  EXPECT_EQ(r.HasSlowInfoCache, c.has);
  EXPECT_EQ(r.InstallSize, c.size);
  EXPECT_EQ(r.UsageFrequency, c.frequency);
  EXPECT_EQ(r.SlowInfoFileName, c.fileName);
}

std::vector<unsigned char> Truncated(std::vector<unsigned char> bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

constexpr std::int64_t kBig = (5LL << 30) + 1024;  // the high half matters
const auto kFull = SlowInfo(kBig, 0x01D9000000000000ull, 12, u"C:\\アプリ\\app.exe");
const auto kNoName = [] {
  auto b = SlowInfo(1000, 0, 3, u"C:\\ignored.exe");
  b[4] = 0;
  return b;
}();

INSTANTIATE_TEST_SUITE_P(
    Records, SlowInfoTest,
    ::testing::Values(
        SlowInfoCase{"full552", kRegBinary, kFull, true, kBig, 12, "C:\\アプリ\\app.exe"},
        SlowInfoCase{"nameFlagOff", kRegBinary, kNoName, true, 1000, 3, ""},
        SlowInfoCase{"short28", kRegBinary, Truncated(kFull, 28), true, kBig, 12, ""},
        SlowInfoCase{"short12", kRegBinary, Truncated(kFull, 12), true, kBig & 0xFFFFFFFF, 0, ""},
        SlowInfoCase{"empty", kRegBinary, {}, false, 0, 0, ""},
        SlowInfoCase{"tooLong553", kRegBinary, Truncated(kFull, 553), false, 0, 0, ""},
        SlowInfoCase{"stringType", kRegSz, kFull, false, 0, 0, ""},
        SlowInfoCase{"expandType", kRegExpandSz, kFull, false, 0, 0, ""},
        SlowInfoCase{"dwordType", kRegDword, Truncated(kFull, 4), false, 0, 0, ""},
        SlowInfoCase{"otherType", kRegMultiSz, kFull, true, kBig, 12, "C:\\アプリ\\app.exe"}),
    [](const auto& param) { return std::string(param.param.label); });

TEST_F(ScanTest, CountsSubkeysOfEachRoot) {
  for (int i = 0; i < 5; ++i) Named(HKLM32, "E" + std::to_string(i), "e");
  reg.CreateKey(HKCU, std::string(kUninstallKey));
  EXPECT_EQ(CountUninstallKeys(reg, HKCU), 0);
  EXPECT_EQ(CountUninstallKeys(reg, HKLM32), 5);
  EXPECT_EQ(CountUninstallKeys(reg, HKLM), -1);
}

}  // namespace
}  // namespace orv::test

namespace orv::test {
namespace {

TEST(RegistryWatch, RefreshesForTheFirstChangedRootOnly) {
  MemoryRegistry reg;
  auto add = [&](RegistryRoot root, const std::string& name) {
    reg.SetString(root, EntryPath(name), "DisplayName", name);
  };
  add(RegistryRoot::CurrentUser, "a");
  add(RegistryRoot::LocalMachine, "b");
  UninstallKeyCounts counts = CountAllUninstallKeys(reg);
  RegistryWatch watch(reg);
  EXPECT_EQ(counts, (UninstallKeyCounts{1, 1, -1}));
  EXPECT_FALSE(watch.Tick(counts));

  add(RegistryRoot::CurrentUser, "a2");
  add(RegistryRoot::LocalMachine, "b2");
  EXPECT_TRUE(watch.Tick(counts));  // the user's change first, alone
  EXPECT_EQ(counts, (UninstallKeyCounts{2, 1, -1}));
  EXPECT_TRUE(watch.Tick(counts));  // the machine's at the next tick
  EXPECT_EQ(counts, (UninstallKeyCounts{2, 2, -1}));

  add(RegistryRoot::LocalMachine32, "c");
  EXPECT_TRUE(watch.Tick(counts));
  EXPECT_EQ(counts[2], 1);

  reg.RemoveKey(RegistryRoot::CurrentUser, EntryPath("a"));
  reg.RemoveKey(RegistryRoot::CurrentUser, EntryPath("a2"));  // emptied: the last row must go
  EXPECT_TRUE(watch.Tick(counts));
  EXPECT_EQ(counts[0], 0);
  EXPECT_FALSE(watch.Tick(counts));
  reg.RemoveKey(RegistryRoot::LocalMachine, std::string(kUninstallKey));  // vanished: -1
  EXPECT_FALSE(watch.Tick(counts));

  reg.RemoveKey(RegistryRoot::LocalMachine32, EntryPath("c"));
  add(RegistryRoot::LocalMachine32, "d");  // one out, one in: the count stays
  EXPECT_FALSE(watch.Tick(counts));

  add(RegistryRoot::LocalMachine, "again");  // the vanished key made anew is found again
  EXPECT_TRUE(watch.Tick(counts));
  EXPECT_EQ(counts[1], 1);
}

}  // namespace
}  // namespace orv::test

namespace orv::test {
namespace {

TEST(RegistryAccessor, ReadsTheSameWithAndWithoutASnapshot) {
  MemoryRegistry reg;
  const std::string path = EntryPath("Many");
  reg.SetString(RegistryRoot::CurrentUser, path, "DisplayName", "many values");
  reg.SetDword(RegistryRoot::CurrentUser, path, "estimatedsize", 77);  // names ignore case
  reg.SetBinary(RegistryRoot::CurrentUser, path, "Big", std::vector<unsigned char>(70000, 1));
  for (int withSnapshot = 0; withSnapshot < 2; ++withSnapshot) {
    TRegistryEx accessor(reg);
    ASSERT_TRUE(accessor.OpenKeyReadOnly(path));
    if (withSnapshot) accessor.TakeSnapshot();  // too large a value: read value by value
    EXPECT_EQ(ReadStringDef(accessor, "DISPLAYNAME", "x"), "many values");
    EXPECT_EQ(ReadIntegerDef(accessor, "EstimatedSize", 0), 77);
    EXPECT_EQ(ReadStringDef(accessor, "Missing", "def"), "def");
  }
  reg.RemoveKey(RegistryRoot::CurrentUser, path);
  for (int i = 0; i < 200; ++i)
    reg.SetString(RegistryRoot::CurrentUser, path, "V" + std::to_string(i), std::to_string(i));
  reg.SetString(RegistryRoot::CurrentUser, path, "DisplayName", "two hundred");
  MemorySystem system;
  ScanContext context{reg, system, {}, {}};
  ProgramList programs;
  ScanUninstallKey(context, RegistryRoot::CurrentUser, programs);  // too many for a snapshot
  ASSERT_EQ(programs.size(), 1u);
  EXPECT_EQ(programs[0].DisplayName, "two hundred");
}

}  // namespace
}  // namespace orv::test
