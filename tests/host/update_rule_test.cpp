#include <gtest/gtest.h>

#include "catalogue/uninstall_scan.h"

namespace orv::test {
namespace {

struct UpdateCase {
  const char* publisher;
  const char* releaseType;
  const char* keyName;
  const char* parentKeyName;
  bool update;
};

TEST(IsUpdateProgram, FollowsTheRulesInOrder) {
  const UpdateCase cases[] = {
      {"Microsoft Corporation", "Security Update", "{GUID}", "", true},
      {"microsoft corporation", "update", "X", "", true},
      {"MICROSOFT CORPORATION", "HOTFIX", "X", "", true},
      {"Microsoft Corporation", "Service Pack", "X", "", false},
      {"Microsoft Corporation", "", "KB123456", "", true},
      {"Microsoft Corporation", "", "kb123456", "", false},
      {"Microsoft Corporation", "", "Kb123456", "", false},
      {"Other Corp", "Update", "KB123456", "OperatingSystem", false},
      {"Microsoft Corporation ", "Update", "KB1", "", false},
      {"Microsoft Corporation", "", "Microsoft Security Patch", "", true},
      {"Microsoft Corporation", "", "microsoft security patch 2", "", true},
      {"Microsoft Corporation", "", "Microsoft Security Patc", "", false},
      {"Microsoft Corporation", "", "Word", "OperatingSystem", true},
      {"Microsoft Corporation", "", "Word", "operatingsystem", true},
      {"Microsoft Corporation", "", "Word", "Office", false},
      {"Ｍicrosoft Corporation", "Update", "KB1", "", false},  // full-width letter is not ASCII
  };
  for (const auto& c : cases) {
    TProgram p;
    p.Publisher = c.publisher;
    p.ReleaseType = c.releaseType;
    p.KeyName = c.keyName;
    p.ParentKeyName = c.parentKeyName;
    EXPECT_EQ(IsUpdateProgram(&p), c.update)
        << c.publisher << " / " << c.releaseType << " / " << c.keyName;
  }
  EXPECT_FALSE(IsUpdateProgram(nullptr));
}

}  // namespace
}  // namespace orv::test
