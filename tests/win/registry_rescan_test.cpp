// The watch's rescan against the real registry: last-write times as the system keeps them, and
// the kept-and-reread records equal to a full scan after random changes.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <thread>

#include "catalogue/registry_ex.h"
#include "catalogue/uninstall_scan.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "win_fixture.h"

namespace orv::test {
namespace {

struct View {
  HKEY hive;
  REGSAM view;
};
const View kViews[] = {{HKEY_CURRENT_USER, 0},
                       {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY},
                       {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY}};

std::wstring EntryName(int i) { return L"OrvWinTest Rescan " + std::to_wstring(i); }

std::vector<unsigned char> SlowInfoBytes(std::int64_t installSize, std::int32_t used) {
  std::vector<unsigned char> bytes(552, 0);
  std::memcpy(&bytes[8], &installSize, 8);
  std::memcpy(&bytes[24], &used, 4);
  return bytes;
}

class RealRescanTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (int i = 0; i < next_; ++i)
      for (const View& v : kViews) {
        DeleteTree(v.hive, kUninstallW + EntryName(i), v.view);
        DeleteTree(v.hive, kArpCacheW + EntryName(i), v.view);
      }
  }
  void Write(int i, int version) {
    const View& v = kViews[i % 3];
    RegKeyWriter(v.hive, kUninstallW + EntryName(i), v.view)
        .Str(L"DisplayName", L"再走査 " + std::to_wstring(i))
        .Str(L"DisplayVersion", L"1." + std::to_wstring(version))
        .Dword(L"EstimatedSize", static_cast<DWORD>(100 * i + version));
    if (i % 2)
      RegKeyWriter(v.hive, kArpCacheW + EntryName(i), v.view)
          .Raw(L"SlowInfoCache", REG_BINARY, SlowInfoBytes(4096 * i, i));
  }
  ProgramList Mine(const ProgramList& all) {
    ProgramList mine;
    for (const TProgram& p : all)
      if (p.KeyName.rfind("OrvWinTest Rescan ", 0) == 0) mine.push_back(p);
    return mine;
  }
  int next_ = 0;
  Win32Registry registry;
  Win32System system;
};

TEST_F(RealRescanTest, EnumerationGivesTheTimeOfTheLastWrite) {
  const std::uint64_t before = registry.Now();
  Write(next_++, 0);
  auto uninstall = registry.OpenKey(RegistryRoot::CurrentUser, kUninstallKey, KeyAccess::Read);
  ASSERT_NE(uninstall, nullptr);
  auto find = [&]() -> std::uint64_t {
    for (const SubKeyEntry& key : uninstall->SubKeys())
      if (key.name == Narrow(EntryName(0))) return key.lastWrite;
    return 0;
  };
  const std::uint64_t written = find();
  constexpr std::uint64_t kSecond = 10'000'000;
  EXPECT_GE(written + kSecond, before);
  EXPECT_LE(written, registry.Now() + kSecond);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  RegKeyWriter(HKEY_CURRENT_USER, kUninstallW + EntryName(0)).Str(L"Publisher", L"later");
  EXPECT_GT(find(), written) << "a value written later moves the key's time";
}

TEST_F(RealRescanTest, KeptAndRereadRecordsEqualAFullScanAfterRandomChanges) {
  for (; next_ < 30; ++next_) Write(next_, 0);
  // Older than the clock's grain, so unchanged entries may keep their records.
  std::this_thread::sleep_for(std::chrono::milliseconds(2200));
  std::vector<int> live;
  for (int i = 0; i < next_; ++i) live.push_back(i);
  ScanContext context{registry, system, {}, {}};
  ProgramList kept;
  ScanAllUninstallKeys(context, kept);
  std::mt19937 random(1210);
  std::size_t reread = 0, listed = 0;
  for (int round = 1; round <= 8; ++round) {
    for (int c = 0; c < 3 && !live.empty(); ++c) {
      const std::size_t pick = std::uniform_int_distribution<std::size_t>(0, live.size() - 1)(random);
      const int i = live[pick];
      const View& v = kViews[i % 3];
      switch (std::uniform_int_distribution<int>(0, 3)(random)) {
        case 0: Write(next_, 0); live.push_back(next_++); break;
        case 1:
          DeleteTree(v.hive, kUninstallW + EntryName(i), v.view);
          live.erase(live.begin() + static_cast<std::ptrdiff_t>(pick));
          break;
        case 2:
          RegKeyWriter(v.hive, kUninstallW + EntryName(i), v.view)
              .Str(L"DisplayVersion", L"2." + std::to_wstring(round));
          break;
        case 3:
          RegKeyWriter(v.hive, kArpCacheW + EntryName(i), v.view)
              .Raw(L"SlowInfoCache", REG_BINARY, SlowInfoBytes(round * 8192, round));
          break;
      }
    }
    context.threads = 1 + static_cast<unsigned>(round % 3);
    reread += RescanChangedUninstallKeys(context, kept);
    ProgramList full;
    ScanAllUninstallKeys(context, full);
    listed += full.size();
    ASSERT_EQ(kept.size(), full.size()) << "round " << round;
    for (std::size_t k = 0; k < full.size(); ++k) {
      SCOPED_TRACE("round " + std::to_string(round) + ": " + full[k].KeyName);
      EXPECT_EQ(kept[k].RootKey, full[k].RootKey);
      EXPECT_EQ(kept[k].KeyName, full[k].KeyName);
      EXPECT_EQ(kept[k].DisplayName, full[k].DisplayName);
      EXPECT_EQ(kept[k].DisplayVersion, full[k].DisplayVersion);
      EXPECT_EQ(kept[k].EstimatedSize, full[k].EstimatedSize);
      EXPECT_EQ(kept[k].HasSlowInfoCache, full[k].HasSlowInfoCache);
      EXPECT_EQ(kept[k].InstallSize, full[k].InstallSize);
      EXPECT_EQ(kept[k].UsageFrequency, full[k].UsageFrequency);
      EXPECT_EQ(kept[k].KeyWriteTime, full[k].KeyWriteTime);
      EXPECT_EQ(kept[k].CacheWriteTime, full[k].CacheWriteTime);
    }
    if (HasFailure()) return;
  }
  EXPECT_FALSE(Mine(kept).empty());
  EXPECT_LT(reread, listed / 2) << "the unchanged entries were read again";
}

}  // namespace
}  // namespace orv::test
