// The scan on several threads against the one-thread scan, and the watch's rescan that keeps
// unchanged records against a full scan.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <stdexcept>

#include "catalogue/uninstall_scan.h"
#include "platform/memory/memory_system.h"
#include "registry_fixture.h"

namespace orv::test {
namespace {

constexpr RegistryRoot kRoots[] = {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine,
                                   RegistryRoot::LocalMachine32};
constexpr std::uint64_t kSecond = 10'000'000;

// Every field, so that a stale or half-read record cannot pass.
void ExpectSame(const ProgramList& actual, const ProgramList& expected, const std::string& where) {
  ASSERT_EQ(actual.size(), expected.size()) << where;
  for (std::size_t i = 0; i < actual.size(); ++i) {
    const TProgram& a = actual[i];
    const TProgram& e = expected[i];
    SCOPED_TRACE(where + ": record " + std::to_string(i) + " " + e.KeyName);
#define ORV_SAME(field) EXPECT_EQ(a.field, e.field) << #field
    ORV_SAME(RootKey); ORV_SAME(KeyName); ORV_SAME(DisplayName); ORV_SAME(UninstallString);
    ORV_SAME(QuietUninstallString); ORV_SAME(DisplayVersion); ORV_SAME(Publisher);
    ORV_SAME(URLInfoAbout); ORV_SAME(URLUpdateInfo); ORV_SAME(HelpLink); ORV_SAME(HelpTelephone);
    ORV_SAME(Contact); ORV_SAME(Comments); ORV_SAME(Readme); ORV_SAME(DisplayIcon);
    ORV_SAME(WindowsInstaller); ORV_SAME(EstimatedSize); ORV_SAME(HasSlowInfoCache);
    ORV_SAME(InstallSize); ORV_SAME(UsageFrequency); ORV_SAME(LastUsed); ORV_SAME(SlowInfoFileName);
    ORV_SAME(SystemComponent); ORV_SAME(NoModify); ORV_SAME(NoRepair); ORV_SAME(NoRemove);
    ORV_SAME(InstallDate); ORV_SAME(ParentKeyName); ORV_SAME(ReleaseType);
    ORV_SAME(ParentDisplayName); ORV_SAME(RegistryLocation); ORV_SAME(InstallLocation);
    ORV_SAME(InstallSource); ORV_SAME(ModifyPath); ORV_SAME(IconIndex); ORV_SAME(TagIndex);
    ORV_SAME(ChangeAllowed); ORV_SAME(IsNew); ORV_SAME(KeyWriteTime); ORV_SAME(CacheWriteTime);
    ORV_SAME(WriteTimesSettled);
#undef ORV_SAME
  }
}

// The in-memory registry with entries that vanish between the enumeration and their opening,
// and entries whose reading fails. Read-only, so any number of threads may use it.
class HostileRegistry : public Registry {
 public:
  explicit HostileRegistry(MemoryRegistry& inner) : inner_(inner) {}
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                       KeyAccess access) override {
    auto key = inner_.OpenKey(root, path, access);
    return key ? std::make_unique<Key>(std::move(key), *this) : nullptr;
  }
  std::uint64_t Now() override { return inner_.Now(); }
  std::set<std::string> vanished;  // enumerated, then gone
  std::set<std::string> failing;   // opening them throws

 private:
  class Key : public RegistryKey {
   public:
    Key(std::unique_ptr<RegistryKey> inner, HostileRegistry& owner)
        : inner_(std::move(inner)), owner_(owner) {}
    std::unique_ptr<RegistryKey> OpenSubKey(std::string_view name, KeyAccess access) override {
      if (owner_.vanished.count(std::string(name))) return nullptr;
      if (owner_.failing.count(std::string(name)))
        throw std::runtime_error("cannot read " + std::string(name));
      auto key = inner_->OpenSubKey(name, access);
      return key ? std::make_unique<Key>(std::move(key), owner_) : nullptr;
    }
    std::vector<std::string> SubKeyNames() override { return inner_->SubKeyNames(); }
    std::vector<SubKeyEntry> SubKeys() override { return inner_->SubKeys(); }
    std::optional<std::uint32_t> SubKeyCount() override { return inner_->SubKeyCount(); }
    bool ValueExists(std::string_view name) override { return inner_->ValueExists(name); }
    bool QueryValue(std::string_view name, RegistryValue& out) override {
      return inner_->QueryValue(name, out);
    }
    bool ReadAllValues(std::vector<std::pair<std::string, RegistryValue>>& out,
                       std::size_t maxValues, std::size_t maxBytes) override {
      return inner_->ReadAllValues(out, maxValues, maxBytes);
    }
    bool WriteString(std::string_view, std::string_view) override { return false; }
    bool DeleteValue(std::string_view) override { return false; }
    RegistryStatus DeleteSubKeyTree(std::string_view) override { return {kRegErrorAccessDenied}; }

   private:
    std::unique_ptr<RegistryKey> inner_;
    HostileRegistry& owner_;
  };
  MemoryRegistry& inner_;
};

std::string NameOf(int i) {
  // Some names differ from others only in case, some are not ASCII.
  if (i % 23 == 0) return "アプリ " + std::to_string(i);
  return (i % 2 ? "{PRODUCT-" : "Program ") + std::to_string(i) + (i % 2 ? "}" : "");
}

// One entry shaped by its number: well formed, or with values of the wrong type, missing
// values, no name, an empty name, a bad SlowInfoCache record.
void WriteEntry(MemoryRegistry& reg, RegistryRoot root, int i, int version = 0) {
  const std::string path = EntryPath(NameOf(i));
  const std::string tail = " v" + std::to_string(version);
  reg.CreateKey(root, path);
  switch (i % 9) {
    case 0: reg.SetDword(root, path, "DisplayName", 5); break;            // wrong type: nameless
    case 1: reg.SetString(root, path, "UninstallString", "x.exe"); break;  // no name at all
    case 2: reg.SetString(root, path, "QuietDisplayName", "静か" + tail); break;
    case 3: reg.SetString(root, path, "DisplayName", ""); break;
    default: reg.SetString(root, path, "DisplayName", "名前 " + std::to_string(i) + tail);
  }
  if (i % 4 == 0) reg.SetString(root, path, "EstimatedSize", "12");  // wrong type
  else reg.SetDword(root, path, "EstimatedSize", static_cast<std::uint32_t>(i * 7 + version));
  if (i % 5 == 0) reg.SetDword(root, path, "Publisher", 3);            // wrong type
  else if (i % 5 == 1) reg.SetString(root, path, "Publisher", "発行元" + tail);
  if (i % 3 == 0) reg.SetString(root, path, "NoRepair", "1");           // a string flag: off
  else reg.SetDword(root, path, "NoRepair", static_cast<std::uint32_t>(i % 2));
  if (i % 7 == 0) reg.SetString(root, path, "DisplayIcon", "\"%ProgramFiles%\\a.exe\",0", kRegExpandSz);
  reg.SetString(root, path, "InstallLocation", i % 6 == 0 ? "" : "C:\\P\\" + std::to_string(i));
  if (i % 6 == 0) reg.SetString(root, path, "InstallDir", "D:\\" + std::to_string(i));
  if (i % 2 == 1) {
    const std::string cache = CachePath(NameOf(i));
    if (i % 11 == 1) reg.SetString(root, cache, "SlowInfoCache", "not binary");
    else if (i % 13 == 1) reg.SetBinary(root, cache, "SlowInfoCache", std::vector<unsigned char>(600, 1));
    else reg.SetBinary(root, cache, "SlowInfoCache", SlowInfo(i * 1024 + version, 1000 + i, i % 50, u"C:\\a.exe"));
  }
}

class ScanThreadsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    system.environment["PROGRAMFILES"] = "C:\\Program Files";
    for (int i = 0; i < 400; ++i) WriteEntry(reg, kRoots[i % 3], i);
    hostile.vanished = {NameOf(40), NameOf(41), NameOf(200)};
  }
  // The records and the order the hooks saw them in.
  struct Outcome {
    ProgramList programs;
    std::vector<std::string> annotated, iconed;
    std::string error;
  };
  Outcome Scan(unsigned threads, int failAtAnnotation = -1) {
    Outcome out;
    ScanContext context{hostile, system,
                        [&](TProgram& p) {
                          if (static_cast<int>(out.annotated.size()) == failAtAnnotation)
                            throw std::runtime_error("annotation failed");
                          out.annotated.push_back(ProgramIdentityKey(p));
                          p.TagIndex = static_cast<std::int32_t>(out.annotated.size() % 5);
                        },
                        [&](const TProgram& p) {
                          out.iconed.push_back(ProgramIdentityKey(p));
                          return static_cast<std::int32_t>(out.iconed.size());
                        }};
    context.threads = threads;
    try {
      ScanAllUninstallKeys(context, out.programs);
    } catch (const std::exception& e) {
      out.error = e.what();
    }
    return out;
  }
  MemoryRegistry reg;
  HostileRegistry hostile{reg};
  MemorySystem system;
};

TEST_F(ScanThreadsTest, EveryThreadCountGivesTheOneThreadScan) {
  const Outcome one = Scan(1);
  ASSERT_EQ(one.error, "");
  ASSERT_GT(one.programs.size(), 200u);
  EXPECT_EQ(one.annotated.size(), one.programs.size());
  for (unsigned threads : {2u, 3u, 8u, 0u}) {
    const Outcome many = Scan(threads);
    const std::string where = std::to_string(threads) + " threads";
    EXPECT_EQ(many.error, "") << where;
    ExpectSame(many.programs, one.programs, where);
    // The hooks run in scan order: the 64-bit machine entries before the 32-bit ones.
    EXPECT_EQ(many.annotated, one.annotated) << where;
    EXPECT_EQ(many.iconed, one.iconed) << where;
  }
  for (const TProgram& p : one.programs) EXPECT_NE(p.KeyName, NameOf(40)) << "a vanished entry";
}

TEST_F(ScanThreadsTest, AFailureStopsTheScanWhereTheOneThreadScanStops) {
  hostile.failing = {NameOf(250)};
  const Outcome one = Scan(1);
  EXPECT_EQ(one.error, "cannot read " + NameOf(250));
  ASSERT_FALSE(one.programs.empty());
  for (unsigned threads : {2u, 8u}) {
    const Outcome many = Scan(threads);
    EXPECT_EQ(many.error, one.error);
    ExpectSame(many.programs, one.programs, std::to_string(threads) + " threads, failed read");
    EXPECT_EQ(many.annotated, one.annotated);
  }
  hostile.failing.clear();
  const Outcome stopped = Scan(1, 77);
  EXPECT_EQ(stopped.error, "annotation failed");
  EXPECT_EQ(stopped.programs.size(), 77u);
  ExpectSame(Scan(8, 77).programs, stopped.programs, "8 threads, failed annotation");
}

TEST(ScanThreads, FollowTheCoresWithinTheCap) {
  EXPECT_GE(DefaultScanThreads(), 1u);
  EXPECT_LE(DefaultScanThreads(), kMaxScanThreads);
}

// --- the watch's rescan ---------------------------------------------------------------------

class RescanTest : public ::testing::Test {
 protected:
  ProgramList FullScan(const std::function<void(TProgram&)>& annotate) {
    ScanContext context{reg, system, annotate, {}};
    ProgramList programs;
    ScanAllUninstallKeys(context, programs);
    return programs;
  }
  MemoryRegistry reg;
  MemorySystem system;
};

TEST_F(RescanTest, KeptAndRereadRecordsEqualAFullScanAfterRandomChanges) {
  std::mt19937 random(20261210);
  std::vector<std::pair<RegistryRoot, int>> live;
  int nextEntry = 0;
  for (; nextEntry < 300; ++nextEntry) {
    WriteEntry(reg, kRoots[nextEntry % 3], nextEntry);
    live.emplace_back(kRoots[nextEntry % 3], nextEntry);
  }
  reg.AdvanceClock(60 * kSecond);
  // The annotations change from round to round: a kept record must take them afresh.
  int round = 0;
  auto annotate = [&round](TProgram& p) {
    p.TagIndex = static_cast<std::int32_t>((p.KeyName.size() + static_cast<std::size_t>(round)) % 5) - 1;
    p.IsNew = round % 2 == 0;
  };
  ProgramList kept = FullScan(annotate);
  std::size_t reread = 0, listed = 0;
  for (round = 1; round <= 40; ++round) {
    const int changes = std::uniform_int_distribution<int>(0, 4)(random);
    for (int c = 0; c < changes && !live.empty(); ++c) {
      auto& [root, i] = live[std::uniform_int_distribution<std::size_t>(0, live.size() - 1)(random)];
      const std::string path = EntryPath(NameOf(i));
      switch (std::uniform_int_distribution<int>(0, 5)(random)) {
        case 0:  // a new entry
          WriteEntry(reg, kRoots[nextEntry % 3], nextEntry);
          live.emplace_back(kRoots[nextEntry % 3], nextEntry);
          ++nextEntry;
          break;
        case 1:  // an uninstall: the entry goes, its ARPCache key may stay
          reg.RemoveKey(root, path);
          if (random() % 2) reg.RemoveKey(root, CachePath(NameOf(i)));
          live.erase(std::find(live.begin(), live.end(), std::pair{root, i}));
          break;
        case 2:  // a value changes
          reg.SetString(root, path, "DisplayVersion", "2." + std::to_string(round));
          break;
        case 3:  // a value changes type
          reg.SetDword(root, path, "DisplayVersion", static_cast<std::uint32_t>(round));
          break;
        case 4:  // the SlowInfoCache record is rewritten, or made for the first time
          reg.SetBinary(root, CachePath(NameOf(i)), "SlowInfoCache",
                        SlowInfo(round * 4096, 5000 + round, round, u"C:\\b.exe"));
          break;
        case 5:  // the ARPCache key is deleted
          reg.RemoveKey(root, CachePath(NameOf(i)));
          break;
      }
    }
    // Sometimes the rescan comes within the clock's grain of the changes, sometimes later.
    if (random() % 3) reg.AdvanceClock(std::uniform_int_distribution<std::uint64_t>(1, 5)(random) * kSecond);
    ScanContext context{reg, system, annotate, {}};
    context.threads = 1 + round % 3;
    reread += RescanChangedUninstallKeys(context, kept);
    const ProgramList full = FullScan(annotate);
    listed += full.size();
    ExpectSame(kept, full, "round " + std::to_string(round));
    if (HasFailure()) return;
  }
  EXPECT_LT(reread, listed / 4) << "the unchanged entries were read again";
}

TEST_F(RescanTest, AChangeWithinTheClocksGrainIsReadAgainEvenWithTheSameTime) {
  // The system's clock moves in steps: a write right after the scan may carry the time the
  // scan saw. Only entries older than the grain are kept.
  reg.SetString(RegistryRoot::LocalMachine, EntryPath("Fresh"), "DisplayName", "old name");
  reg.SetString(RegistryRoot::LocalMachine, EntryPath("Settled"), "DisplayName", "settled");
  reg.SetLastWrite(RegistryRoot::LocalMachine, EntryPath("Settled"), reg.Now() - 10 * kSecond);
  ProgramList kept = FullScan({});
  const std::uint64_t stamp = reg.Find(RegistryRoot::LocalMachine, EntryPath("Fresh"))->lastWrite;
  reg.SetString(RegistryRoot::LocalMachine, EntryPath("Fresh"), "DisplayName", "new name");
  reg.SetLastWrite(RegistryRoot::LocalMachine, EntryPath("Fresh"), stamp);
  reg.AdvanceClock(10 * kSecond);
  ScanContext context{reg, system, {}, {}};
  EXPECT_EQ(RescanChangedUninstallKeys(context, kept), 1u) << "only the fresh entry is read";
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0].DisplayName, "new name");
  EXPECT_EQ(kept[1].DisplayName, "settled");
}

}  // namespace
}  // namespace orv::test
