// The decisions behind the clean-up commands, the shell actions and the shortcut drop.
#include <gtest/gtest.h>

#include "text/find_matcher.h"
#include "resources/product_info.h"

#include "operations/registry_cleanup.h"
#include "operations/shell_targets.h"
#include "operations/shortcut_drop.h"
#include "platform/memory/memory_system.h"
#include "registry_fixture.h"

namespace orv::test {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr RegistryRoot kMachine32 = RegistryRoot::LocalMachine32;

// One entry name in all three roots, each with cached usage data and a nested subkey.
void AddTwins(MemoryRegistry& reg) {
  for (RegistryRoot root : kAllRegistryRoots) {
    reg.SetString(root, EntryPath("Twin"), "DisplayName", "twin");
    reg.SetString(root, EntryPath("Twin") + "\\Sub\\Deeper", "X", "y");
    reg.SetBinary(root, CachePath("Twin"), "SlowInfoCache", SlowInfo(1, 0, 1, u"C:\\a.exe"));
    reg.SetString(root, EntryPath("Other"), "DisplayName", "other");
  }
}

class CleanupTest : public ::testing::Test {
 protected:
  void SetUp() override { AddTwins(reg); }
  bool Has(RegistryRoot root, const std::string& path) { return reg.Find(root, path) != nullptr; }
  MemoryRegistry reg;
};

TEST(Cleanup, DeletesTheWholeEntryInItsOwnRootOnly) {
  for (RegistryRoot root : kAllRegistryRoots) {
    MemoryRegistry reg;
    AddTwins(reg);
    CleanupResult result = RunCleanup(reg, {root, "Twin"}, CleanupCommand::RemoveRegEntry);
    EXPECT_EQ(result.kind, CleanupResult::Deleted);
    for (RegistryRoot other : kAllRegistryRoots) {
      EXPECT_EQ(reg.Find(other, EntryPath("Twin")) != nullptr, other != root);
      EXPECT_NE(reg.Find(other, CachePath("Twin")), nullptr);  // the cache is another command's
      EXPECT_NE(reg.Find(other, EntryPath("Other")), nullptr);
    }
  }
}

TEST_F(CleanupTest, SlowInfoCacheGoesAndTheEntryStays) {
  EXPECT_EQ(RunCleanup(reg, {kMachine32, "Twin"}, CleanupCommand::DeleteSlowInfoCache).kind,
            CleanupResult::Deleted);
  EXPECT_FALSE(Has(kMachine32, CachePath("Twin")));
  EXPECT_TRUE(Has(kMachine32, EntryPath("Twin")));
  EXPECT_TRUE(Has(kUser, CachePath("Twin")));
  EXPECT_TRUE(Has(kMachine, CachePath("Twin")));
  // Nothing cached, or no cache key at all: nothing happens and nothing is to be told.
  EXPECT_EQ(RunCleanup(reg, {kUser, "Other"}, CleanupCommand::DeleteSlowInfoCache).kind,
            CleanupResult::NothingToDelete);
  reg.RemoveKey(kUser, std::string(kArpCacheKey));
  EXPECT_EQ(RunCleanup(reg, {kUser, "Twin"}, CleanupCommand::DeleteSlowInfoCache).kind,
            CleanupResult::NothingToDelete);
}

TEST_F(CleanupTest, NamesThatReachBeyondTheEntryAreNeverDeleted) {
  const std::string names[] = {
      "", "Twin\\Sub", "\\Twin", "Twin\\", std::string("Twin\0x", 6), std::string("\0", 1)};
  for (const std::string& name : names)
    for (CleanupCommand command :
         {CleanupCommand::RemoveRegEntry, CleanupCommand::DeleteSlowInfoCache}) {
      CleanupResult result = RunCleanup(reg, {kUser, name}, command);
      EXPECT_EQ(result.kind, CleanupResult::InvalidName) << name.size();
    }
  EXPECT_TRUE(Has(kUser, EntryPath("Twin") + "\\Sub\\Deeper"));
  EXPECT_TRUE(Has(kUser, CachePath("Twin")));
  EXPECT_EQ(reg.Find(kUser, std::string(kUninstallKey))->children.size(), 2u);
}

TEST_F(CleanupTest, RefusedDeleteIsReportedWithTheSystemsReason) {
  // A machine key the user may not change: nothing of it goes and the refusal is told.
  reg.Find(kMachine, EntryPath("Twin"))->writable = false;
  CleanupTarget target{kMachine, "Twin"};
  CleanupResult result = RunCleanup(reg, target, CleanupCommand::RemoveRegEntry);
  EXPECT_EQ(result.kind, CleanupResult::Refused);
  EXPECT_EQ(result.error, kRegErrorAccessDenied);
  EXPECT_TRUE(Has(kMachine, EntryPath("Twin")));
  EXPECT_EQ(CleanupFailedMessage(target, CleanupCommand::RemoveRegEntry, result, "アクセス拒否"),
            "レジストリキーを削除できません。\n"
            "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Twin"
            "\n\nアクセス拒否");

  // A protected key below the entry: what could go is gone, the rest stays and is told.
  reg.Find(kUser, EntryPath("Twin") + "\\Sub\\Deeper")->writable = false;
  reg.SetString(kUser, EntryPath("Twin") + "\\Loose", "X", "y");
  result = RunCleanup(reg, {kUser, "Twin"}, CleanupCommand::RemoveRegEntry);
  EXPECT_EQ(result.kind, CleanupResult::Refused);
  EXPECT_TRUE(Has(kUser, EntryPath("Twin") + "\\Sub\\Deeper"));
  EXPECT_FALSE(Has(kUser, EntryPath("Twin") + "\\Loose"));
}

TEST(CleanupTexts, KeyPathsNameTheRootAndView) {
  struct Case {
    RegistryRoot root;
    CleanupCommand command;
    const char* path;
  } cases[] = {
      {kUser, CleanupCommand::RemoveRegEntry,
       "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\名前"},
      {kMachine32, CleanupCommand::RemoveRegEntry,
       "HKEY_LOCAL_"
       "MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\名前"},
      {kMachine, CleanupCommand::DeleteSlowInfoCache,
       "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App "
       "Management\\ARPCache\\名前"},
  };
  for (const Case& c : cases) EXPECT_EQ(CleanupKeyPath({c.root, "名前"}, c.command), c.path);
  EXPECT_EQ(std::string(CleanupWarning(CleanupCommand::DeleteSlowInfoCache)),
            "これはレジストリからSlowInfoCacheを削除するための機能です。\n\n"
            "本当にこのプログラムのSlowInfoCacheを削除してもよろしいですか ?");
}

TEST(ShellTargets, WebAddressesAreAbsoluteHttpOrHttps) {
  struct Case {
    const char* text;
    bool web;
  } cases[] = {
      {"https://kobo.example/viewer", true},
      {"HTTP://Example.org", true},
      {"http://例え.jp/パス?q=1#a", true},
      {"", false},
      {"https://", false},
      {"https:///path", false},
      {"www.example.org", false},
      {"file:///C:/Windows/system32/calc.exe", false},
      {"C:\\Windows\\notepad.exe", false},
      {"\\\\server\\share\\page.html", false},
      {"javascript:alert(1)", false},
      {"mailto:someone@example.org", false},
      {"ftp://example.org/", false},
      {"https://example.org/a b", false},
      {"https://example.org/\"x", false},
      {"https://example.org/\t", false},
      {" https://example.org/", false},  // as the test sees it; the command trims first
  };
  for (const Case& c : cases) EXPECT_EQ(IsWebAddress(c.text), c.web) << c.text;
  TProgram p;
  p.URLInfoAbout = "  https://example.org/  ";
  EXPECT_EQ(PublisherPage(p), std::optional<std::string>("https://example.org/"));
  p.URLInfoAbout = "notepad.exe";
  EXPECT_EQ(PublisherPage(p), std::nullopt);
}

TEST(ShellTargets, OnlyExistingLocalFoldersAndFilesAreHandedOver) {
  struct Case {
    const char* label;
    const char* slowInfoFile;
    const char* installLocation;
    const char* folder;  // null: the command stays disabled
    const char* program;
  } cases[] = {
      {"the program file's folder first", "C:\\App\\bin\\app.exe", "C:\\Other", "C:\\App\\bin\\",
       "C:\\App\\bin\\app.exe"},
      {"no cache: the install location", "", "C:\\Other", "C:\\Other\\", nullptr},
      {"cache folder missing: the install location", "C:\\Gone\\app.exe", "C:\\Other\\",
       "C:\\Other\\", nullptr},
      {"server paths are never probed", "\\\\server\\share\\app.exe", "\\\\server\\share\\",
       nullptr, nullptr},
      {"device paths neither", "\\\\?\\C:\\App\\bin\\app.exe", "\\\\.\\C:\\Other", nullptr,
       nullptr},
      {"relative paths neither", "bin\\app.exe", "Other", nullptr, nullptr},
      {"a drive without a backslash is relative", "C:app.exe", "C:Other", nullptr, nullptr},
      {"nothing at all", "", "", nullptr, nullptr},
  };
  MemorySystem system;
  // Every path of the table "exists", so only the path rules can refuse one.
  system.directories = {"C:\\App\\bin\\",
                        "C:\\Other",
                        "C:\\Other\\",
                        "\\\\server\\share\\",
                        "\\\\.\\C:\\Other",
                        "Other",
                        "C:Other",
                        "bin\\",
                        ""};
  system.files = {"C:\\App\\bin\\app.exe", "\\\\server\\share\\app.exe",
                  "\\\\?\\C:\\App\\bin\\app.exe", "bin\\app.exe", "C:app.exe"};
  for (const Case& c : cases) {
    TProgram p;
    p.SlowInfoFileName = c.slowInfoFile;
    p.InstallLocation = c.installLocation;
    EXPECT_EQ(FolderToOpen(p, system),
              c.folder ? std::optional<std::string>(c.folder) : std::nullopt)
        << c.label;
    EXPECT_EQ(ProgramToRun(p, system),
              c.program ? std::optional<std::string>(c.program) : std::nullopt)
        << c.label;
  }
  EXPECT_EQ(RunProgramQuestion("C:\\App\\app.exe"), "C:\\App\\app.exe\nを実行しますか ?");
  EXPECT_TRUE(IsWebAddress(kHomePageAddress));
}

TEST(ShortcutDrop, ShortcutsAreKnownByTheirExtension) {
  struct Case {
    const char* path;
    bool shortcut;
  } cases[] = {
      {"C:\\Desktop\\App.lnk", true},
      {"C:\\Desktop\\App.LNK", true},
      {"a.Lnk", true},
      {".lnk", true},
      {"C:\\App\\app.exe", false},
      {"C:\\App.lnk\\x", false},
      {"C:\\App\\applnk", false},
      {"lnk", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsShortcutFileName(c.path), c.shortcut) << c.path;
}

TEST(ShortcutDrop, OnlyAsciiLettersOfWholeCharactersFold) {
  struct Case {
    const char* subject;
    const char* pattern;
    bool found;       // letter case ignored
    bool foundExact;  // letter case kept
  } cases[] = {
      {"C:\\Program Files\\App\\app.exe", "c:\\program files\\app\\APP.EXE", true, false},
      {"C:\\Program Files\\App\\app.exe", "Files\\App", true, true},
      {"ヂ", "ア", false, false},  // trail bytes 0x61 and 0x41 in code page 932
      {"アプリ", "ヂプリ", false, false},
      {"ＡＢＣ", "ａｂｃ", false, false},    // full-width letters are not folded
      {"Lumière", "LUMIÈRE", false, false},  // neither are accented ones
      {"Lumière", "lumière", true, false},
      {"写真ビューア", "ビュー", true, true},
      {"abc", "", false, false},  // an empty pattern matches nothing
      {"", "a", false, false},
      {"ab", "abc", false, false},
      {"[x]", "[X]", true, false},  // only letters fold: brackets match themselves
      {"@", "`", false, false},     // 0x40 and 0x60 are no letters
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindTextMatches(c.subject, c.pattern, false), c.found)
        << c.subject << " / " << c.pattern;
    EXPECT_EQ(FindTextMatches(c.subject, c.pattern, true), c.foundExact)
        << c.subject << " / " << c.pattern;
  }
}

TEST(ShortcutDrop, FirstRowFromTheTopWithTheDroppedPath) {
  const std::vector<std::vector<std::string>> rows = {
      {"Editor", "", "Vendor", "C:\\Tools\\edit.exe"},
      {"Viewer", "", "Vendor", "C:\\Tools\\view.exe"},
      {"C:\\Tools\\view.exe copy", "", "", ""},
  };
  auto cell = [&](int row, int column) {
    return rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  };
  struct Case {
    const char* path;
    int columns;  // how many columns are shown
    int row;
  } cases[] = {
      {"c:\\tools\\VIEW.exe", 4, 1},   // in a later column of row 1 before row 2's caption
      {"C:\\Tools\\view.exe", 1, 2},   // only the caption shown: row 2
      {"C:\\Tools\\edit.exe", 3, -1},  // the column that holds it is not shown
      {"C:\\Tools\\other.exe", 4, -1}, {"", 4, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindRowHolding(3, c.columns, cell, c.path), c.row) << c.path << " " << c.columns;
  EXPECT_EQ(FindRowHolding(0, 4, cell, "x"), -1);
}

}  // namespace
}  // namespace orv::test
