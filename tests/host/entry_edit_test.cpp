// Rename and comment edits against the in-memory registry: the values written, their order
// when a write is refused, and entries that are gone.
#include <gtest/gtest.h>

#include "annotations/comment_entry.h"
#include "annotations/rename_entry.h"
#include "registry_fixture.h"
#include "text/utf.h"

namespace orv::test {
namespace {

constexpr auto HKCU = RegistryRoot::CurrentUser;
constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKLM32 = RegistryRoot::LocalMachine32;

class EntryEditTest : public ::testing::Test {
 protected:
  std::optional<std::string> Value(RegistryRoot root, const std::string& key,
                                   std::string_view name) {
    auto* node = reg.Find(root, EntryPath(key));
    if (!node) return std::nullopt;
    for (auto& [valueName, value] : node->values)
      if (EqualsAsciiNoCase(valueName, name)) {
        if (value.type != kRegSz) return "<type " + std::to_string(value.type) + ">";
        return Utf16LeBytesToUtf8(value.data.data(), value.data.size());
      }
    return std::nullopt;
  }
  void Rename(const EntryIdentity& entry, const std::string& to) {
    RenameStart start = ReadRenameStart(reg, entry);
    ASSERT_TRUE(start.opened);
    ASSERT_EQ(ApplyRename(reg, entry, to, start.originalName).status, EntryEditResult::Done);
  }
  MemoryRegistry reg;
};

TEST_F(EntryEditTest, RenameKeepsTheFirstNameAndRestoresIt) {
  reg.SetString(HKLM, EntryPath("App"), "DisplayName", "A");
  const EntryIdentity app{HKLM, "App"};
  Rename(app, "B");
  EXPECT_EQ(Value(HKLM, "App", "DisplayName"), "B");
  EXPECT_EQ(Value(HKLM, "App", "OriginalDisplayName"), "A");
  Rename(app, "C");
  EXPECT_EQ(Value(HKLM, "App", "DisplayName"), "C");
  EXPECT_EQ(Value(HKLM, "App", "OriginalDisplayName"), "A");
  Rename(app, "a");  // another letter case is a rename, not a restore
  EXPECT_EQ(Value(HKLM, "App", "OriginalDisplayName"), "A");
  RenameStart start = ReadRenameStart(reg, app);
  EXPECT_EQ(start.newName, "a");
  EXPECT_EQ(start.originalName, "A");
  Rename(app, "A");  // the restore button copies the original name back
  EXPECT_EQ(Value(HKLM, "App", "DisplayName"), "A");
  EXPECT_EQ(Value(HKLM, "App", "OriginalDisplayName"), std::nullopt);
}

TEST_F(EntryEditTest, OriginalNameFallsBackToQuietNameThenKeyName) {
  reg.SetString(HKCU, EntryPath("Quiet"), "QuietDisplayName", "Q");
  reg.SetDword(HKCU, EntryPath("Bare"), "DisplayName", 7);  // not a string: reads as empty
  RenameStart quiet = ReadRenameStart(reg, {HKCU, "Quiet"});
  EXPECT_EQ(quiet.newName, "");
  EXPECT_EQ(quiet.originalName, "Q");
  EXPECT_EQ(ReadRenameStart(reg, {HKCU, "Bare"}).originalName, "Bare");

  Rename({HKCU, "Quiet"}, "");  // OK without typing: an empty name differs from Q
  EXPECT_EQ(Value(HKCU, "Quiet", "DisplayName"), "");
  EXPECT_EQ(Value(HKCU, "Quiet", "OriginalDisplayName"), "Q");
  Rename({HKCU, "Quiet"}, "Q");
  EXPECT_EQ(Value(HKCU, "Quiet", "DisplayName"), "Q");
  EXPECT_EQ(Value(HKCU, "Quiet", "OriginalDisplayName"), std::nullopt);
}

TEST_F(EntryEditTest, RenameWritesTheOriginalFirstAndLosesNothingWhenAWriteIsRefused) {
  reg.SetString(HKLM, EntryPath("App"), "DisplayName", "A");
  const EntryIdentity app{HKLM, "App"};

  // The second write fails: the original stays recorded nowhere else, so it may not be lost;
  // the entry is left exactly as it was.
  reg.Find(HKLM, EntryPath("App"))->refusedValues = {"DisplayName"};
  EntryEditResult refused = ApplyRename(reg, app, "B", "A");
  EXPECT_EQ(refused.status, EntryEditResult::Failed);
  EXPECT_EQ(refused.valueName, "DisplayName");
  EXPECT_EQ(refused.errorCode, kRegErrorAccessDenied);
  EXPECT_EQ(Value(HKLM, "App", "DisplayName"), "A");
  EXPECT_EQ(Value(HKLM, "App", "OriginalDisplayName"), std::nullopt);

  // The first write fails: nothing is written.
  reg.Find(HKLM, EntryPath("App"))->refusedValues = {"OriginalDisplayName"};
  EXPECT_EQ(ApplyRename(reg, app, "B", "A").valueName, "OriginalDisplayName");
  EXPECT_EQ(Value(HKLM, "App", "DisplayName"), "A");

  // Restoring: the original is deleted only after "DisplayName" holds it again.
  reg.Find(HKLM, EntryPath("App"))->refusedValues.clear();
  Rename(app, "B");
  reg.Find(HKLM, EntryPath("App"))->refusedValues = {"DisplayName"};
  EXPECT_EQ(ApplyRename(reg, app, "A", "A").status, EntryEditResult::Failed);
  EXPECT_EQ(Value(HKLM, "App", "DisplayName"), "B");
  EXPECT_EQ(Value(HKLM, "App", "OriginalDisplayName"), "A");
}

TEST_F(EntryEditTest, WritesGoToTheEntryOfItsOwnViewByItsExactName) {
  reg.SetString(HKLM, EntryPath("Same"), "DisplayName", "64");
  reg.SetString(HKLM32, EntryPath("Same"), "DisplayName", "32");
  Rename({HKLM32, "Same"}, "renamed");
  ASSERT_EQ(WriteComment(reg, {HKLM32, "Same"}, "memo").status, EntryEditResult::Done);
  EXPECT_EQ(Value(HKLM32, "Same", "DisplayName"), "renamed");
  EXPECT_EQ(Value(HKLM32, "Same", "Comments"), "memo");
  EXPECT_EQ(Value(HKLM, "Same", "DisplayName"), "64");
  EXPECT_EQ(Value(HKLM, "Same", "OriginalDisplayName"), std::nullopt);
  EXPECT_EQ(Value(HKLM, "Same", "Comments"), std::nullopt);
}

TEST_F(EntryEditTest, GoneEntriesAndPathLikeNamesAreNeverWritten) {
  reg.SetString(HKCU, EntryPath("App"), "DisplayName", "A");
  reg.SetString(HKCU, EntryPath("App\\Sub"), "DisplayName", "S");
  const EntryIdentity cases[] = {{HKCU, "Missing"}, {HKCU, ""}, {HKCU, "App\\Sub"}, {HKLM, "App"}};
  for (const EntryIdentity& entry : cases) {
    EXPECT_FALSE(ReadRenameStart(reg, entry).opened) << entry.keyName;
    EXPECT_FALSE(ReadCommentStart(reg, entry).opened) << entry.keyName;
    EXPECT_EQ(ApplyRename(reg, entry, "x", "y").status, EntryEditResult::EntryGone) << entry.keyName;
    EXPECT_EQ(WriteComment(reg, entry, "x").status, EntryEditResult::EntryGone) << entry.keyName;
  }
  EXPECT_EQ(Value(HKCU, "App\\Sub", "Comments"), std::nullopt);
  EXPECT_EQ(reg.Find(HKCU, std::string(kUninstallKey))->values.size(), 0u);
  EXPECT_EQ(reg.Find(HKLM, EntryPath("Missing")), nullptr);
}

TEST_F(EntryEditTest, KeyThatCannotBeOpenedForWritingIsAFailureWithTheSystemsCode) {
  reg.SetString(HKLM, EntryPath("Locked"), "Comments", "old");
  reg.Find(HKLM, EntryPath("Locked"))->writable = false;
  EXPECT_TRUE(ReadCommentStart(reg, {HKLM, "Locked"}).opened);
  EntryEditResult result = WriteComment(reg, {HKLM, "Locked"}, "new");
  EXPECT_EQ(result.status, EntryEditResult::Failed);
  EXPECT_EQ(result.errorCode, kRegErrorAccessDenied);
  EXPECT_EQ(result.valueName, "");
  EXPECT_EQ(Value(HKLM, "Locked", "Comments"), "old");
  EXPECT_EQ(ApplyRename(reg, {HKLM, "Locked"}, "B", "A").status, EntryEditResult::Failed);
  EXPECT_EQ(Value(HKLM, "Locked", "OriginalDisplayName"), std::nullopt);
  const std::string message = EntryEditFailureMessage(result, "アクセスが拒否されました。");
  EXPECT_NE(message.find("アクセスが拒否されました。"), std::string::npos);
}

TEST_F(EntryEditTest, CommentIsAlwaysWrittenAsPlainString) {
  reg.SetString(HKCU, EntryPath("Expand"), "Comments", "%TEMP%\\note", kRegExpandSz);
  reg.SetDword(HKCU, EntryPath("Number"), "Comments", 3);
  EXPECT_EQ(ReadCommentStart(reg, {HKCU, "Expand"}).comment, "%TEMP%\\note");
  EXPECT_EQ(ReadCommentStart(reg, {HKCU, "Number"}).comment, "");
  ASSERT_EQ(WriteComment(reg, {HKCU, "Expand"}, "%TEMP%\\note").status, EntryEditResult::Done);
  ASSERT_EQ(WriteComment(reg, {HKCU, "Number"}, "").status, EntryEditResult::Done);
  EXPECT_EQ(Value(HKCU, "Expand", "Comments"), "%TEMP%\\note");  // REG_SZ now
  EXPECT_EQ(Value(HKCU, "Number", "Comments"), "");  // cleared text stays as a value
}

}  // namespace
}  // namespace orv::test
