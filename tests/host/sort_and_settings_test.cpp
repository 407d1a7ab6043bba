#include <gtest/gtest.h>

#include "app/program_sort.h"
#include "app/view_settings.h"
#include "columns/column_model.h"
#include "platform/memory/memory_ini.h"
#include "platform/memory/memory_system.h"

namespace orv::test {
namespace {

TEST(SortState, HeaderClicksAndTheClamp) {
  EXPECT_EQ(NextSortState(0, 2), 3);
  EXPECT_EQ(NextSortState(3, 2), -3);
  EXPECT_EQ(NextSortState(-3, 2), 3);
  EXPECT_EQ(NextSortState(-3, 0), 1);
  EXPECT_EQ(ClampSortState(0, 8), 1);
  EXPECT_EQ(ClampSortState(-5, 4), 1);  // the column set shrank below the sort position
  EXPECT_EQ(ClampSortState(-4, 4), -4);
}

class SortRowsTest : public ::testing::Test {
 protected:
  SortRowsTest() : tags(nullptr) {
    MemoryIni ini;
    tags.LoadFromFile(ini);
    const char* names[] = {"beta", "Alpha", "ALPHA", "gamma"};
    for (int i = 0; i < 4; ++i) {
      TProgram p;
      p.DisplayName = names[i];
      programs.push_back(p);
    }
  }
  std::vector<int> Sorted(int id, bool ascending) {
    std::vector<int> rows = {0, 1, 2, 3};
    const std::vector<int> columns = {kColProgram, kColStatus, id};
    SortRows(rows, programs, ascending ? (id == kColProgram ? 1 : 3) : (id == kColProgram ? -1 : -3),
             columns, tags, system);
    return rows;
  }
  ProgramList programs;
  TTagList tags;
  MemorySystem system;
};

TEST_F(SortRowsTest, TextIgnoresCaseAndKeepsEqualRowsInOrder) {
  EXPECT_EQ(Sorted(kColProgram, true), (std::vector<int>{1, 2, 0, 3}));
  EXPECT_EQ(Sorted(kColProgram, false), (std::vector<int>{3, 0, 1, 2}));
}

TEST_F(SortRowsTest, NumbersCompareAsNumbersNotTexts) {
  programs[0].EstimatedSize = 0xFFFFFFFFu;  // unsigned: the largest
  programs[1].EstimatedSize = 0;
  programs[2].EstimatedSize = 10;
  programs[3].EstimatedSize = 9;
  EXPECT_EQ(Sorted(kColEstimatedSize, true), (std::vector<int>{1, 3, 2, 0}));
  programs[0].InstallSize = -1;
  programs[1].InstallSize = 0;
  programs[2].InstallSize = 1LL << 40;
  programs[3].InstallSize = 5;
  EXPECT_EQ(Sorted(kColInstallSize, true), (std::vector<int>{0, 1, 3, 2}));
  programs[0].UsageFrequency = 100;
  programs[1].UsageFrequency = -1;
  programs[2].UsageFrequency = 20;
  programs[3].UsageFrequency = 3;
  EXPECT_EQ(Sorted(kColUsageFrequency, false), (std::vector<int>{0, 2, 3, 1}));
}

TEST_F(SortRowsTest, LastUseWithoutATimeComesFirst) {
  const std::uint64_t day = 864000000000ull;
  programs[0].LastUsed = 0xFFFFFFFFFFFFFFFFull;  // never used
  programs[1].LastUsed = 133000000000000000ull + day;
  programs[2].LastUsed = 0;
  programs[3].LastUsed = 133000000000000000ull;
  EXPECT_EQ(Sorted(kColLastUsed, true), (std::vector<int>{0, 2, 3, 1}));
}

TEST_F(SortRowsTest, StatusWeighsLockAndNewMark) {
  programs[0].IsNew = true;                                  // 2
  programs[1].ChangeAllowed = false;                         // 1
  programs[2].IsNew = true, programs[2].ChangeAllowed = false;  // 3
  EXPECT_EQ(Sorted(kColStatus, true), (std::vector<int>{3, 1, 0, 2}));
}

TEST(ViewSettings, DefaultsClampsAndWhatIsWritten) {
  MemoryIni ini;
  ViewSettings s = LoadViewSettings(ini, 1920, 1080);
  EXPECT_FALSE(s.loadIcon);
  EXPECT_FALSE(s.stripe);
  EXPECT_TRUE(s.gridLine);
  EXPECT_FALSE(s.showSysComp);
  EXPECT_EQ(s.stripeColor, 0xF0F0F0u);
  EXPECT_FALSE(s.maximized);
  EXPECT_EQ(s.width, 720);
  EXPECT_EQ(s.height, 500);

  ini.WriteString("FormPos", "Height", "50");
  ini.WriteString("FormPos", "Width", "5000");
  ini.WriteString("Option", "StripeColor", "0xE0FFE0");
  ini.WriteString("Option", "GridLine", "0");
  s = LoadViewSettings(ini, 1920, 1080);
  EXPECT_EQ(s.height, 100);
  EXPECT_EQ(s.width, 1920);
  EXPECT_EQ(s.stripeColor, 0xE0FFE0u);
  EXPECT_FALSE(s.gridLine);

  s.maximized = true;
  s.width = 333;
  SaveViewSettings(ini, s);
  EXPECT_EQ(ini.ReadString("FormPos", "Maximized", ""), "1");
  EXPECT_EQ(ini.ReadString("FormPos", "Width", ""), "5000");  // kept while maximised
  EXPECT_EQ(ini.ReadString("Option", "StripeColor", ""), "0xE0FFE0");  // never written
  s.maximized = false;
  SaveViewSettings(ini, s);
  EXPECT_EQ(ini.ReadString("FormPos", "Width", ""), "333");
  EXPECT_EQ(ini.ReadString("Option", "GridLine", ""), "0");
  ini.refuseWrites = true;
  EXPECT_THROW(SaveViewSettings(ini, s), std::runtime_error);
}

}  // namespace
}  // namespace orv::test
