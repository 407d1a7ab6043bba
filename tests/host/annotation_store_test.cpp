#include <gtest/gtest.h>

#include "annotations/annotation_store.h"
#include "app/data_files.h"
#include "catalogue/uninstall_scan.h"
#include "platform/memory/memory_system.h"
#include "registry_fixture.h"

namespace orv::test {
namespace {

constexpr auto HKCU = RegistryRoot::CurrentUser;
constexpr auto HKLM = RegistryRoot::LocalMachine;
constexpr auto HKLM32 = RegistryRoot::LocalMachine32;

std::string Le32(std::int32_t v) {
  std::string out;
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF));
  return out;
}

std::string Record(const std::string& key, std::int32_t tag, char flag) {
  return Le32(static_cast<std::int32_t>(key.size())) + key + Le32(tag) + std::string(1, flag);
}

struct Loaded {
  std::string key;
  std::int32_t tag;
  bool allowed;
  bool operator==(const Loaded&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Loaded& l) {
    return out << l.key << " tag " << l.tag << (l.allowed ? "" : " locked");
  }
};

std::vector<Loaded> Load(const std::string& bytes, SystemServices& system) {
  TProgramExtInfoList store;
  store.LoadFromBytes(bytes, system);
  std::vector<Loaded> out;
  for (int i = 0; i < store.Count(); ++i) {
    EXPECT_FALSE(store.Items(i).IsNew);
    out.push_back({store.Items(i).Key, store.Items(i).TagIndex, store.Items(i).ChangeAllowed});
  }
  return out;
}

TProgram Program(RegistryRoot root, std::string key, std::int32_t tag = -1, bool allowed = true,
                 bool isNew = false) {
  TProgram p;
  p.RootKey = root;
  p.KeyName = std::move(key);
  p.TagIndex = tag;
  p.ChangeAllowed = allowed;
  p.IsNew = isNew;
  return p;
}

TEST(AnnotationFile, ReadsRecordsUpToTheFirstDamage) {
  MemorySystem system;
  const std::string a = Record("HKLM\\A", 2, 1), b = Record("HKCU\\B", -1, 0);
  const struct {
    const char* what;
    std::string bytes;
    std::vector<Loaded> expected;
  } cases[] = {
      {"empty file", "", {}},
      {"two whole records", a + b, {{"HKLM\\A", 2, true}, {"HKCU\\B", -1, false}}},
      {"ends inside the tag index", a + b.substr(0, b.size() - 3), {{"HKLM\\A", 2, true}}},
      {"ends before the flag byte", a + b.substr(0, b.size() - 1), {{"HKLM\\A", 2, true}}},
      {"ends inside the length", a + Le32(6).substr(0, 2), {{"HKLM\\A", 2, true}}},
      {"key length 0", Record("", 1, 1) + a, {{"", 1, true}, {"HKLM\\A", 2, true}}},
      {"negative key length", a + Le32(-5) + "xxxxxxxxxxxx", {{"HKLM\\A", 2, true}}},
      {"key longer than the file", a + Le32(1000) + "HKLM\\B", {{"HKLM\\A", 2, true}}},
      {"any flag but 0 allows", Record("K", 0, 2), {{"K", 0, true}}},
      {"tag outside -1..4 is no tag", Record("K", 5, 1) + Record("L", -2, 1) + Record("M", 4, 1),
       {{"K", -1, true}, {"L", -1, true}, {"M", 4, true}}},
      {"code page 932 key", Record("HKCU\\\x8E\xCA\x90\x5E", -1, 1), {{"HKCU\\写真", -1, true}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Load(c.bytes, system), c.expected) << c.what;
}

TEST(AnnotationFile, WritesTheDocumentedBytes) {
  MemorySystem system;
  TProgramExtInfoList store;
  store.AddProgram(Program(HKLM, "A"));
  EXPECT_EQ(store.SaveToBytes(system), std::string("\x06\x00\x00\x00HKLM\\A\xFF\xFF\xFF\xFF\x01", 15));

  store.Clear();
  store.AddProgram(Program(HKCU, "写真", 4, false, true));
  store.AddProgram(Program(HKLM32, "Lumière", 1));  // no code page 932 form
  const std::string bytes = store.SaveToBytes(system);
  EXPECT_EQ(bytes.substr(0, 18), Record("HKCU\\\x8E\xCA\x90\x5E", 4, 0));
  EXPECT_EQ(Load(bytes, system),
            (std::vector<Loaded>{{"HKCU\\写真", 4, false}, {"HKLM32\\Lumière", 1, true}}));

  // A key name holding an unpaired surrogate keeps it across the file, apart from its twin
  // that holds U+FFFD in its place.
  store.Clear();
  store.AddProgram(Program(HKCU, "Lone\xED\xB0\x80", 2, false));
  store.AddProgram(Program(HKCU, "Lone\xEF\xBF\xBD", 3));
  EXPECT_EQ(Load(store.SaveToBytes(system), system),
            (std::vector<Loaded>{{"HKCU\\Lone\xED\xB0\x80", 2, false},
                                 {"HKCU\\Lone\xEF\xBF\xBD", 3, true}}));
}

TEST(AnnotationStore, LooksUpKeysWithoutLetterCaseAndLastDuplicateWins) {
  MemorySystem system;
  TProgramExtInfoList store;
  store.LoadFromBytes(Record("HKLM\\SampleApp", 1, 1) + Record("HKCU\\Twin", 0, 1) +
                          Record("hkcu\\twin", 3, 0),
                      system);
  EXPECT_EQ(store.IndexOfKey("hklm\\sampleapp"), 0);
  EXPECT_EQ(store.IndexOfProgram(Program(HKCU, "TWIN")), 2);
  EXPECT_EQ(store.IndexOfProgram(Program(HKLM, "Twin")), -1);  // the other hive is another key
  EXPECT_EQ(store.IndexOfProgram(Program(HKLM32, "SampleApp")), -1);
  // Records added after a lookup are found too.
  store.AddProgram(Program(HKLM, "Late", 2));
  EXPECT_EQ(store.IndexOfProgram(Program(HKLM, "late")), 3);
}

struct Marks {
  std::string key;
  std::int32_t tag;
  bool allowed, isNew;
  bool operator==(const Marks&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Marks& m) {
    return out << m.key << " tag " << m.tag << (m.allowed ? "" : " locked") << (m.isNew ? " new" : "");
  }
};

TEST(AnnotationStore, ScanCopiesStoredMarksAndMarksTheRestNew) {
  MemoryRegistry reg;
  MemorySystem system;
  for (auto [root, key] : {std::pair{HKCU, "Kept"}, std::pair{HKLM, "Both"}, std::pair{HKLM32, "Both"},
                           std::pair{HKLM32, "Old32"}, std::pair{HKLM32, "Fresh"}})
    reg.SetString(root, EntryPath(key), "DisplayName", key);
  TProgramExtInfoList store;
  store.LoadFromBytes(Record("HKCU\\KEPT", 3, 0) +
                          // Written before the machine views were told apart: "HKLM\X" meant
                          // the 32-bit entry, unless a 64-bit entry has that name.
                          Record("HKLM\\Old32", 1, 0) + Record("HKLM\\Both", 2, 1) +
                          Record("HKLM32\\Gone", 4, 0),
                      system);
  StoreAnnotator annotate(store);
  ScanContext context{reg, system, std::ref(annotate), {}};
  ProgramList programs;
  ScanAllUninstallKeys(context, programs);

  std::vector<Marks> got;
  for (const TProgram& p : programs)
    got.push_back({ProgramIdentityKey(p), p.TagIndex, p.ChangeAllowed, p.IsNew});
  EXPECT_EQ(got, (std::vector<Marks>{{"HKCU\\Kept", 3, false, false},
                                     {"HKLM\\Both", 2, true, false},
                                     {"HKLM32\\Both", -1, true, true},
                                     {"HKLM32\\Old32", 1, false, false},
                                     {"HKLM32\\Fresh", -1, true, true}}));

  // The rebuilt store holds one record per program, in scan order, under today's keys; a
  // record of a program no longer listed is gone.
  RebuildFromPrograms(store, programs);
  std::vector<std::string> keys;
  for (int i = 0; i < store.Count(); ++i) keys.push_back(store.Items(i).Key);
  EXPECT_EQ(keys, (std::vector<std::string>{"HKCU\\Kept", "HKLM\\Both", "HKLM32\\Both",
                                            "HKLM32\\Old32", "HKLM32\\Fresh"}));
  // A new mark lives through rescans of the same run, never through the file.
  EXPECT_TRUE(store.Items(4).IsNew);
  EXPECT_FALSE(Load(store.SaveToBytes(system), system).empty());
}

TEST(AnnotationStore, AListLeftShortByAFailedScanOnlyAddsToTheStore) {
  MemorySystem system;
  TProgramExtInfoList store;
  store.LoadFromBytes(Record("HKCU\\Read", 1, 1) + Record("HKLM\\NotReadYet", 3, 0), system);
  MergeFromPrograms(store, {Program(HKCU, "Read", 4, false), Program(HKLM32, "New", 2)});
  std::vector<Loaded> expected{{"HKCU\\Read", 4, false}, {"HKLM\\NotReadYet", 3, false},
                               {"HKLM32\\New", 2, true}};
  EXPECT_EQ(Load(store.SaveToBytes(system), system), expected);
}

TEST(AnnotationStore, AFailedSaveKeepsTheOldFile) {
  MemorySystem system;
  system.directories.insert("C:\\Tool");
  TProgramExtInfoList store;
  store.AddProgram(Program(HKCU, "A", 1));
  ASSERT_EQ(store.SaveToFile("C:\\Tool\\appdata", system), "");
  const std::string saved = *system.ReadWholeFile("C:\\Tool\\appdata");

  store.AddProgram(Program(HKCU, "B", 2));
  system.failWrites = true;
  EXPECT_NE(store.SaveToFile("C:\\Tool\\appdata", system), "");
  EXPECT_EQ(*system.ReadWholeFile("C:\\Tool\\appdata"), saved);

  TProgramExtInfoList reloaded;
  reloaded.LoadFromFile("C:\\Tool\\appdata", system);
  EXPECT_EQ(reloaded.Count(), 1);
  reloaded.LoadFromFile("C:\\Tool\\missing", system);
  EXPECT_EQ(reloaded.Count(), 0);
}

TEST(DataFiles, BesideTheExeUnlessThatFolderCannotBeWritten) {
  MemorySystem system;
  system.directories = {"C:", "C:\\Tools", "C:\\Program Files", "C:\\Program Files\\Orv",
                        "C:\\Users", "C:\\Users\\u\\AppData\\Roaming"};
  system.directories.insert("C:\\Users\\u");
  system.directories.insert("C:\\Users\\u\\AppData");
  const std::string perUser = "C:\\Users\\u\\AppData\\Roaming\\Orvalinde";

  DataFiles portable = ChooseDataFiles(system, "C:\\Tools\\MyOrv.exe", perUser);
  EXPECT_EQ(portable.iniPath, "C:\\Tools\\MyOrv.ini");
  EXPECT_EQ(portable.appDataPath, "C:\\Tools\\appdata");
  EXPECT_FALSE(portable.perUser);

  // Under a read-only folder both files move to the per-user folder; a file found beside the
  // exe is carried over once, and later starts keep the per-user copies.
  system.readOnlyFolders.insert("C:\\Program Files\\Orv");
  system.contents["C:\\Program Files\\Orv\\Orvalinde.ini"] = "[Option]\r\nStripe=1\r\n";
  DataFiles installed = ChooseDataFiles(system, "C:\\Program Files\\Orv\\Orvalinde.exe", perUser);
  EXPECT_TRUE(installed.perUser);
  EXPECT_EQ(installed.iniPath, perUser + "\\Orvalinde.ini");
  EXPECT_EQ(installed.appDataPath, perUser + "\\appdata");
  EXPECT_TRUE(system.DirectoryExists(perUser));
  EXPECT_EQ(system.ReadWholeFile(installed.iniPath), "[Option]\r\nStripe=1\r\n");
  EXPECT_FALSE(system.FileExists(installed.appDataPath));

  system.contents[installed.iniPath] = "[Option]\r\nStripe=0\r\n";
  ChooseDataFiles(system, "C:\\Program Files\\Orv\\Orvalinde.exe", perUser);
  EXPECT_EQ(system.ReadWholeFile(installed.iniPath), "[Option]\r\nStripe=0\r\n");
  // A start that could write beside the exe (as administrator) still reads where they went.
  system.readOnlyFolders.clear();
  EXPECT_TRUE(ChooseDataFiles(system, "C:\\Program Files\\Orv\\Orvalinde.exe", perUser).perUser);
}

}  // namespace
}  // namespace orv::test
