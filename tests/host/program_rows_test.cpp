#include <gtest/gtest.h>

#include "app/program_rows.h"
#include "columns/column_model.h"
#include "platform/memory/memory_ini.h"
#include "platform/memory/memory_system.h"

namespace orv::test {
namespace {

TEST(CellText, FormatsEachColumn) {
  MemorySystem system;
  MemoryIni ini;
  TTagList tags(nullptr);
  tags.LoadFromFile(ini);
  TProgram p;
  p.KeyName = "{KEY}";
  p.Publisher = "発行元";
  p.EstimatedSize = 1536;
  p.InstallSize = 3 * 1048576 + 524288;
  p.UsageFrequency = -2;
  p.TagIndex = 2;
  p.LastUsed = (1709596800ull + 11644473600ull) * 10000000ull;
  const std::pair<int, const char*> cases[] = {
      {kColProgram, "{KEY}"},        // an empty name shows the subkey name
      {kColStatus, ""},
      {kColPublisher, "発行元"},
      {kColEstimatedSize, "1.50MB"},
      {kColInstallSize, "3.50MB"},
      {kColUsageFrequency, "-2"},
      {kColLastUsed, "2024/03/05"},
      {kColTag, "Tag3"},
      {kColRegistry, "{KEY}"},
      {22, "BUG!!ShowPrograms"},
      {-1, "BUG!!ShowPrograms"},
  };
  for (auto [id, text] : cases) EXPECT_EQ(CellText(p, id, tags, system), text) << id;

  p.DisplayName = "名前";
  p.EstimatedSize = 0xFFFFFFFFu;  // unsigned: about 4 TB, never negative
  p.InstallSize = -1;
  p.TagIndex = 9;  // damaged: no tag
  EXPECT_EQ(CellText(p, kColProgram, tags, system), "名前");
  EXPECT_EQ(CellText(p, kColEstimatedSize, tags, system), "4194304.00MB");
  EXPECT_EQ(CellText(p, kColInstallSize, tags, system), "");
  EXPECT_EQ(CellText(p, kColTag, tags, system), "");
  p.EstimatedSize = 0;
  EXPECT_EQ(CellText(p, kColEstimatedSize, tags, system), "");
  EXPECT_EQ(CellText(TProgram{}, kColUsageFrequency, tags, system), "0");
}

TEST(TabRows, SplitsApplicationsUpdatesAndSystemComponents) {
  ProgramList programs(5);
  programs[0].KeyName = "App";
  programs[1].KeyName = "KB100";
  programs[1].Publisher = "Microsoft Corporation";
  programs[2].KeyName = "KB200";  // another publisher's update is an application
  programs[2].Publisher = "Other";
  programs[3].KeyName = "Hidden";
  programs[3].SystemComponent = true;
  programs[4].KeyName = "HiddenUpdate";
  programs[4].SystemComponent = true;
  programs[4].Publisher = "Microsoft Corporation";
  programs[4].ReleaseType = "Hotfix";
  EXPECT_EQ(BuildTabRows(programs, kTabApplications, false), (std::vector<int>{0, 2}));
  EXPECT_EQ(BuildTabRows(programs, kTabUpdates, false), (std::vector<int>{1}));
  EXPECT_EQ(BuildTabRows(programs, kTabApplications, true), (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(BuildTabRows(programs, kTabUpdates, true), (std::vector<int>{1, 4}));
  EXPECT_TRUE(BuildTabRows(programs, 2, true).empty());
}

TEST(ProgramCount, LeadingBlankThenTheCount) {
  EXPECT_EQ(ProgramCountText(137), " 137 個のプログラム");
  EXPECT_EQ(ProgramCountText(0), " 0 個のプログラム");
}

}  // namespace
}  // namespace orv::test
