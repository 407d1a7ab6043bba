// Packed GUIDs, "RegistryLocation" and the lists the property window reads from installers'
// own registry data; link targets and what the window shows for a record.
#include <gtest/gtest.h>

#include "dialogs/installer_records.h"
#include "dialogs/link_target.h"
#include "dialogs/packed_guid.h"
#include "dialogs/property_content.h"
#include "platform/memory/memory_system.h"
#include "registry_fixture.h"

namespace orv::test {
namespace {

constexpr auto HKCU = RegistryRoot::CurrentUser;
constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKLM32 = RegistryRoot::LocalMachine32;

TEST(PackedGuid, BothWays) {
  struct Case {
    const char* guid;
    const char* packed;  // "" = no packed code
  };
  const Case cases[] = {
      {"{12345678-9ABC-DEF0-1234-56789ABCDEF0}", "87654321CBA90FED21436587A9CBED0F"},
      {"{4f2c9a71-3b5d-4e8a-9c61-7d2e5b3a1f08}", "17a9c2f4d5b3a8e4c916d7e2b5a3f180"},
      // The characters between the braces are not examined, only their count and kind.
      {"{ABCDEFGH-IJKL-MNOP-QRST-UVWXYZ012345}", "HGFEDCBALKJIPONMRQTSVUXWZY103254"},
      {"{12345678-9ABC-DEF0-1234-56789ABCDEF}", ""},     // 37 characters
      {"12345678-9ABC-DEF0-1234-56789ABCDEF0}X", ""},    // no opening brace
      {"{12345678-9ABC-DEF0-1234-56789ABCDEF0", ""},     // no closing brace
      {"{1234567\\-9ABC-DEF0-1234-56789ABCDEF0}", ""},   // a backslash would be a path
      {"{1234567 -9ABC-DEF0-1234-56789ABCDEF0}", ""},    // a blank
      {"{12345\xC3\xA9-9ABC-DEF0-1234-56789ABCDEF0}", ""},  // 38 bytes, not 38 characters
      // Groups of the wrong lengths: packed, it came back as a name with two dashes in a row.
      {"{12345678-9ABBC-DEF0-1234-5789ABCDEF0}", ""},
      {"{12345678-9ABC-DEF0-1234X56789ABCDEF0}", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GuidToPackedGuid(c.guid), c.packed) << c.guid;
    if (*c.packed) {
      EXPECT_EQ(PackedGuidToGuid(c.packed), c.guid) << c.packed;
    }
  }
  EXPECT_EQ(PackedGuidToGuid("87654321CBA90FED21436587A9CBED0"), "");
  EXPECT_EQ(PackedGuidToGuid("87654321CBA90FED21436587A9CBED0F0"), "");
  EXPECT_EQ(PackedGuidToGuid("8765432\xC3\xA9" "CBA90FED21436587A9CBED0"), "");
}

TEST(RegistryLocationParser, RootsInAnyCase) {
  struct Case {
    const char* text;
    RegistryRoot entryRoot;
    bool found;
    RegistryRoot root;
    const char* path;
  };
  const Case cases[] = {
      {"HKLM\\Software\\Vendor", HKLM, true, HKLM, "Software\\Vendor"},
      {"hklm\\Software\\Vendor", HKLM, true, HKLM, "Software\\Vendor"},
      {"HKEY_LOCAL_MACHINE\\Software\\V", HKLM, true, HKLM, "Software\\V"},
      {"Hkey_Current_User\\Software\\V", HKLM, true, HKCU, "Software\\V"},
      {"hkcu\\X", HKCU, true, HKCU, "X"},
      {"HKLM\\Software\\Vendor", HKLM32, true, HKLM32, "Software\\Vendor"},  // the entry's view
      {"HKEY_USERS\\S-1-5-18\\Software", HKLM, false, HKLM, ""},
      {"HKLMX\\Software", HKLM, false, HKLM, ""},
      {"HKLM", HKLM, false, HKLM, ""},
      {"HKLM\\", HKLM, false, HKLM, ""},
      {"Software\\Vendor", HKLM, false, HKLM, ""},
  };
  for (const Case& c : cases) {
    auto location = ParseRegistryLocation(c.text, c.entryRoot);
    ASSERT_EQ(location.has_value(), c.found) << c.text;
    if (!location) continue;
    EXPECT_EQ(location->root, c.root) << c.text;
    EXPECT_EQ(location->path, c.path) << c.text;
  }
}

class InstallerRecordsTest : public ::testing::Test {
 protected:
  MemoryRegistry reg;
};

TEST_F(InstallerRecordsTest, FileListSkipsSubkeysWithoutFileName) {
  const std::string list = "Software\\Vendor\\App\\Filelist\\";
  reg.SetString(HKLM, list + "0001", "FileName", "app.exe");
  reg.SetString(HKLM, list + "0001", "Location", "C:\\App");
  reg.SetString(HKLM, list + "0001", "Version", "1.2");
  reg.SetString(HKLM, list + "0001", "BuildDate", "2026/01/02");
  reg.SetString(HKLM, list + "0002", "Location", "C:\\Nowhere");  // no "FileName"
  reg.SetString(HKLM, list + "0002", "Version", "9");
  reg.SetDword(HKLM, list + "0003", "FileName", 4);  // exists, not a string: an empty cell
  reg.SetDword(HKLM, list + "0003", "Version", 4);
  TProgram program;
  program.RootKey = HKCU;
  program.RegistryLocation = "hklm\\Software\\Vendor\\App";
  auto files = LoadFileList(reg, program);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].fileName, "app.exe");
  EXPECT_EQ(files[0].location, "C:\\App");
  EXPECT_EQ(files[0].version, "1.2");
  EXPECT_EQ(files[0].buildDate, "2026/01/02");
  EXPECT_EQ(files[1].fileName, "");
  EXPECT_EQ(files[1].version, "");

  program.RegistryLocation = "HKEY_USERS\\Software\\Vendor\\App";
  EXPECT_TRUE(LoadFileList(reg, program).empty());
  program.RegistryLocation = "HKLM\\Software\\Vendor\\Other";
  EXPECT_TRUE(LoadFileList(reg, program).empty());
}

TEST_F(InstallerRecordsTest, PatchesOfBothHivesFromTheSixtyFourBitView) {
  const std::string product = "{12345678-9ABC-DEF0-1234-56789ABCDEF0}";
  const std::string patches =
      std::string(kInstallerProductsKey) + "87654321CBA90FED21436587A9CBED0F\\Patches\\";
  const std::string patchA = "A1B2C3D4E5F60718293A4B5C6D7E8F90";
  reg.SetString(HKCU, patches + patchA, "DisplayName", "user patch");
  reg.SetDword(HKCU, patches + patchA, "Uninstallable", 1);
  reg.SetString(HKLM, patches + patchA, "DisplayName", "machine patch");
  reg.SetString(HKLM, patches + patchA, "Installed", "20260102");
  reg.SetString(HKLM, patches + patchA, "MoreInfoURL", "https://example.invalid/kb1");
  reg.SetString(HKLM, patches + "NOTAPACKEDCODE", "DisplayName", "odd name");
  reg.SetDword(HKLM, patches + "NOTAPACKEDCODE", "Uninstallable", 1);
  reg.SetString(HKLM, patches + "B1B2C3D4E5F60718293A4B5C6D7E8F90", "Installed", "no name");
  reg.SetString(HKLM32, patches + patchA, "DisplayName", "32-bit view copy");

  TProgram program;
  program.KeyName = product;
  program.RootKey = HKLM32;  // a 32-bit entry: the installer's data is still in the 64-bit view
  PropertyContent content = ReadPropertyContent(&program, reg);
  ASSERT_EQ(content.patches.size(), 3u);
  const PatchRecord& user = content.patches[0];
  EXPECT_EQ(user.displayName, "user patch");
  EXPECT_TRUE(user.uninstallable);
  EXPECT_EQ(user.patchCode, "{4D3C2B1A-6F5E-8170-92A3-B4C5D6E7F809}");
  EXPECT_EQ(user.uninstallCommand, "MsiExec.exe /X{4D3C2B1A-6F5E-8170-92A3-B4C5D6E7F809}");
  const PatchRecord& machine = content.patches[1];
  EXPECT_EQ(machine.displayName, "machine patch");
  EXPECT_EQ(machine.installed, "20260102");
  EXPECT_EQ(machine.moreInfoUrl, "https://example.invalid/kb1");
  EXPECT_FALSE(machine.uninstallable);
  EXPECT_EQ(machine.uninstallCommand, "");
  // A subkey name that is no packed code gives no code and no uninstall note.
  EXPECT_EQ(content.patches[2].patchCode, "");
  EXPECT_EQ(content.patches[2].uninstallCommand, "");

  program.KeyName = "NotAProductCode";
  EXPECT_TRUE(ReadPropertyContent(&program, reg).patches.empty());
}

TEST(PropertyContentTest, NameRootAndLinks) {
  MemoryRegistry reg;
  TProgram program;
  program.RootKey = HKLM32;
  program.KeyName = "KeyOnly";
  program.Publisher = "Maker";
  program.HelpLink = "https://example.invalid/help";
  program.HasSlowInfoCache = true;
  PropertyContent content = ReadPropertyContent(&program, reg);
  EXPECT_EQ(content.name, "KeyOnly");
  EXPECT_EQ(content.registryRoot, "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(content.slowInfoCache, "あり");
  EXPECT_EQ(content.windowsInstaller, "いいえ");
  EXPECT_FALSE(content.publisher.Linked());  // no "URLInfoAbout": plain text
  EXPECT_TRUE(content.publisher.Enabled());
  EXPECT_TRUE(content.helpLink.Linked());
  EXPECT_FALSE(content.readme.Enabled());
  ASSERT_TRUE(content.entry.has_value());
  EXPECT_EQ(content.entry->root, HKLM32);

  PropertyContent none = ReadPropertyContent(nullptr, reg);
  EXPECT_EQ(none.name, "不明なプログラム");
  EXPECT_FALSE(none.entry.has_value());
  EXPECT_EQ(RegistryRootText(HKCU), "HKEY_CURRENT_USER");
}

TEST(LinkTargetTest, OnlyWebAddressesFoldersAndDocumentsOpenDirectly) {
  MemorySystem system;
  system.directories = {"C:\\Program Files\\App", "C:\\Tools\\odd.exe"};
  system.files = {"C:\\App\\readme.txt", "C:\\App\\setup.exe", "C:\\App\\run.cmd",
                  "C:\\App\\page.hta", "C:\\App\\noext"};
  struct Case {
    const char* target;
    bool mailto;
    LinkAction action;
  };
  const Case cases[] = {
      {"https://example.invalid/", false, LinkAction::OpenWeb},
      {"HTTP://example.invalid/a?b=c", false, LinkAction::OpenWeb},
      {"http://", false, LinkAction::CopyOnly},
      {"http://a b", false, LinkAction::CopyOnly},
      {"mailto:help@example.invalid", true, LinkAction::OpenWeb},
      {"mailto:help@example.invalid", false, LinkAction::CopyOnly},
      {"file:///C:/App/setup.exe", false, LinkAction::CopyOnly},
      {"javascript:alert(1)", false, LinkAction::CopyOnly},
      {"C:\\Program Files\\App", false, LinkAction::OpenFolder},
      {"C:\\Tools\\odd.exe", false, LinkAction::OpenFolder},  // a folder, whatever its name
      {"C:\\Program Files\\Gone", false, LinkAction::CopyOnly},
      {"C:\\App\\readme.txt", false, LinkAction::OpenDocument},
      {"C:\\App\\setup.exe", false, LinkAction::ConfirmProgram},
      {"C:\\App\\run.cmd", false, LinkAction::ConfirmProgram},
      {"C:\\App\\page.hta", false, LinkAction::ConfirmProgram},
      {"C:\\App\\noext", false, LinkAction::ConfirmProgram},
      {"setup.exe", false, LinkAction::CopyOnly},             // relative: depends on the folder
      {"\\\\server\\share\\x.exe", false, LinkAction::CopyOnly},
      {"\"C:\\App\\setup.exe\"", false, LinkAction::CopyOnly},
      {"C:\\App\\readme.txt\n", false, LinkAction::CopyOnly},
      {"", false, LinkAction::CopyOnly},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ClassifyLinkTarget(c.target, c.mailto, system), c.action) << c.target;
}

}  // namespace
}  // namespace orv::test
