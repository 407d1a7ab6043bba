// A registry written by careless or hostile installers: many entries, huge strings, a key with
// thousands of values, every value of the wrong type or with broken UTF-16, SlowInfoCache records
// of every length and type, and keys that come and go while the scan runs. The scan lists what
// exists; rows, sort, find, export and clean-up work on every entry.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/csv_export.h"
#include "text/find_matcher.h"
#include "app/program_rows.h"
#include "app/program_sort.h"
#include "catalogue/registry_ex.h"
#include "catalogue/uninstall_scan.h"
#include "columns/column_model.h"
#include "operations/registry_cleanup.h"
#include "operations/uninstall_commands.h"
#include "platform/memory/memory_ini.h"
#include "platform/memory/memory_system.h"
#include "registry_fixture.h"
#include "text/utf.h"

namespace orv::test {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

std::vector<unsigned char> Bytes(std::initializer_list<int> bytes) {
  std::vector<unsigned char> out;
  for (int b : bytes) out.push_back(static_cast<unsigned char>(b));
  return out;
}

// The ways a value can be wrong, applied in turn to the entries.
void WriteHostileValues(MemoryRegistry& reg, const std::string& path, int kind) {
  switch (kind % 10) {
    case 0: reg.SetDword(kUser, path, "Publisher", 0x12345678); break;
    case 1: reg.SetBinary(kUser, path, "DisplayVersion", Bytes({0x31, 0x00, 0x2E})); break;
    case 2: reg.SetValue(kUser, path, "SystemComponent", MakeStringValue("1", kRegMultiSz)); break;
    case 3: reg.SetValue(kUser, path, "Comments", {kRegSz, Bytes({0x41, 0x00, 0x42})}); break;  // odd length
    case 4: reg.SetValue(kUser, path, "Contact", {kRegSz, Bytes({0x41, 0x00, 0x42, 0x00})}); break;  // no NUL
    case 5: reg.SetValue(kUser, path, "Publisher", {kRegSz, Bytes({0x00, 0xD8, 0x41, 0x00, 0, 0})}); break;  // lone high surrogate
    case 6: reg.SetValue(kUser, path, "HelpLink", {kRegSz, Bytes({0x00, 0xDC, 0, 0})}); break;  // lone low surrogate
    case 7: reg.SetString(kUser, path, "Publisher", "\xF0\x9F\x98\x80 ☃ ₩ ﾃｽﾄ"); break;  // outside code page 932
    case 8: reg.SetBinary(kUser, path, "EstimatedSize", Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9})); break;
    case 9: reg.SetValue(kUser, path, "InstallDate", {kRegQword, Bytes({1, 2, 3, 4, 5, 6, 7, 8})}); break;
  }
}

// Some entries vanish and others appear while the scan walks the list.
class ChurningRegistry : public MemoryRegistry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                       KeyAccess access) override {
    if (churn && ++opened % 37 == 0) {
      RemoveKey(kUser, EntryPath("E" + std::to_string(opened)));
      SetString(kUser, EntryPath("Added" + std::to_string(opened)), "DisplayName", "追加");
    }
    return MemoryRegistry::OpenKey(root, path, access);
  }
  bool churn = false;
  int opened = 0;
};

TEST(HostileRegistry, EveryEntryIsListedAndEveryCommandCopes) {
  ChurningRegistry reg;
  // The in-memory registry looks keys up by walking lists: 2,000 entries here keep the test
  // quick; the e2e test lists 20,000 from the real registry.
  const int kEntries = 2000;
  for (int i = 0; i < kEntries; ++i) {
    const std::string name = "E" + std::to_string(i);
    const std::string path = EntryPath(name);
    if (i % 1000 == 7)
      reg.SetDword(kUser, path, "DisplayName", 5);  // listed, with an empty name
    else
      reg.SetString(kUser, path, "DisplayName", "エントリ " + std::to_string(i));
    WriteHostileValues(reg, path, i);
    reg.SetString(kUser, path, "UninstallString", "C:\\Program Files\\E " + std::to_string(i) + "\\u.exe /S");
  }
  // Huge strings in a few entries, a key with 10,000 values.
  const std::string huge(65536, 'x');
  for (const char* value : {"DisplayName", "Publisher", "UninstallString", "Comments", "InstallLocation"})
    reg.SetString(kUser, EntryPath("E1"), value, huge);
  for (int v = 0; v < 10000; ++v)
    reg.SetString(kUser, EntryPath("E2"), "V" + std::to_string(v), std::to_string(v));
  // SlowInfoCache records of every length up to one past the real size, and of every type.
  const std::vector<unsigned char> record = SlowInfo(1 << 20, 0x01D9000000000000ull, 7, u"C:\\a.exe");
  for (int length = 0; length <= 553; ++length) {
    std::vector<unsigned char> bytes(static_cast<std::size_t>(length), 0xFF);
    std::copy_n(record.begin(), std::min<std::size_t>(bytes.size(), record.size()), bytes.begin());
    reg.SetBinary(kUser, CachePath("E" + std::to_string(length)), "SlowInfoCache", bytes,
                  static_cast<std::uint32_t>(length % 12));
  }
  reg.SetValue(kUser, CachePath("E600"), "SlowInfoCache", {kRegBinary, Bytes({0x28, 0x02, 0, 0, 1, 0, 0, 0})});

  MemorySystem system;
  ScanContext context{reg, system, {}, {}};
  ProgramList programs;
  ScanUninstallKey(context, kUser, programs);
  ASSERT_EQ(programs.size(), static_cast<std::size_t>(kEntries));
  auto entry = [&](const std::string& name) -> const TProgram& {
    for (const TProgram& p : programs)
      if (p.KeyName == name) return p;
    throw std::runtime_error("no entry " + name);
  };
  EXPECT_EQ(entry("E1").DisplayName, huge);
  EXPECT_EQ(entry("E1").Publisher, huge);
  EXPECT_EQ(entry("E7").DisplayName, "");  // a DWORD name: listed, never read as a number
  EXPECT_EQ(entry("E0").Publisher, "");    // a DWORD where a string belongs reads as empty
  EXPECT_EQ(entry("E5").Publisher, "\xEF\xBF\xBD" "A");  // a lone surrogate becomes U+FFFD
  EXPECT_EQ(entry("E6").HelpLink, "\xEF\xBF\xBD");
  EXPECT_EQ(entry("E4").Contact, "AB");    // no terminator: the bytes there are the text
  EXPECT_FALSE(entry("E2").SystemComponent);  // a flag of the wrong type is not set
  EXPECT_TRUE(entry("E552").HasSlowInfoCache);
  EXPECT_EQ(entry("E552").InstallSize, 1 << 20);

  // Rows, every column's text, sort by every column both ways, find and export.
  MemoryIni ini;
  TTagList tags(nullptr);
  tags.LoadFromFile(ini);
  std::vector<int> rows = BuildTabRows(programs, kTabApplications, true);
  ASSERT_EQ(rows.size(), programs.size());
  std::vector<int> columns;
  for (int id = 0; id < kColumnCount; ++id) columns.push_back(id);
  for (int column = 1; column <= 3; ++column)
    for (int state : {column, -column}) {
      std::vector<int> sorted = rows;
      SortRows(sorted, programs, state, columns, tags, system);
      EXPECT_EQ(std::set<int>(sorted.begin(), sorted.end()).size(), rows.size()) << state;
    }
  std::string exported;
  int found = 0;
  for (int row : rows) {
    std::vector<std::string> cells;
    for (int id : columns) cells.push_back(CellText(programs[static_cast<std::size_t>(row)], id, tags, system));
    if (FindTextMatches(cells[kColPublisher], "ﾃｽﾄ", false)) ++found;
    exported += CsvLine(cells);
  }
  EXPECT_EQ(found, kEntries / 10);
  EXPECT_GT(exported.size(), huge.size());

  // The planner reads every stored line; none of these names a file that exists.
  for (const TProgram& p : programs) {
    EXPECT_EQ(PlanRemove(p).kind, CommandPlan::Launch);
    EXPECT_FALSE(ResolveLaunchTarget(p.UninstallString, {"C:\\Windows\\System32", "C:\\Windows"},
                                     [&](std::string_view path) { return system.FileExists(path); }));
  }

  // Clean-up on entries with hostile values removes exactly that key.
  for (const char* name : {"E1", "E2", "E5", "E7"}) {
    EXPECT_EQ(RunCleanup(reg, {kUser, name}, CleanupCommand::RemoveRegEntry).kind, CleanupResult::Deleted) << name;
    EXPECT_EQ(reg.Find(kUser, EntryPath(name)), nullptr) << name;
  }
  for (const char* name : {"E3", "E100"}) {
    EXPECT_EQ(RunCleanup(reg, {kUser, name}, CleanupCommand::DeleteSlowInfoCache).kind, CleanupResult::Deleted);
    EXPECT_NE(reg.Find(kUser, EntryPath(name)), nullptr);
  }
  EXPECT_EQ(CountUninstallKeys(reg, kUser), kEntries - 4);

  // Entries deleted and added during the scan: an entry gone before its turn is skipped, and
  // nothing is listed twice or made up.
  reg.churn = true;
  ProgramList churned;
  ScanUninstallKey(context, kUser, churned);
  reg.churn = false;
  EXPECT_GT(reg.opened, 2000);
  std::set<std::string> listed;
  for (const TProgram& p : churned) {
    EXPECT_TRUE(listed.insert(p.KeyName).second) << p.KeyName;
    EXPECT_TRUE(p.KeyName.rfind("E", 0) == 0) << p.KeyName;  // added ones come after the names were read
  }
  EXPECT_LT(churned.size(), static_cast<std::size_t>(kEntries - 4));
}

}  // namespace
}  // namespace orv::test
