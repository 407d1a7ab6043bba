// The decisions on the road of one uninstall: which commands a program allows, and what runs.
#include <gtest/gtest.h>

#include <set>

#include "app/command_availability.h"
#include "operations/uninstall_commands.h"
#include "platform/memory/memory_system.h"

namespace orv::test {
namespace {

TProgram Program(std::string uninstall, std::string quiet, std::string modify, bool msi) {
  TProgram p;
  p.KeyName = "{11111111-2222-3333-4444-555555555555}";
  p.UninstallString = std::move(uninstall);
  p.QuietUninstallString = std::move(quiet);
  p.ModifyPath = std::move(modify);
  p.WindowsInstaller = msi;
  return p;
}

TEST(CommandAvailability, EnablingTable) {
  MemorySystem system;
  struct Case {
    const char* label;
    TProgram program;
    bool remove, modify, repair;
  };
  auto locked = Program("u.exe", "", "m.exe", true);
  locked.ChangeAllowed = false;
  auto noRemove = Program("u.exe", "", "", false);
  noRemove.NoRemove = true;
  auto msiNoModify = Program("", "", "", true);
  msiNoModify.NoModify = true;
  auto msiNoRepair = Program("", "", "", true);
  msiNoRepair.NoRepair = true;
  const Case cases[] = {
      {"plain", Program("u.exe", "", "", false), true, false, false},
      {"quietOnly", Program("", "q.exe /S", "", false), true, false, false},
      {"msiOnly", Program("", "", "", true), true, true, true},
      {"modifyPath", Program("", "", "m.exe", false), false, true, false},
      {"nothing", Program("", "", "", false), false, false, false},
      {"locked", locked, false, false, false},
      {"noRemove", noRemove, false, false, false},
      {"msiNoModify", msiNoModify, true, false, true},
      {"msiNoRepair", msiNoRepair, true, true, false},
  };
  for (const Case& c : cases) {
    auto a = ComputeAvailability(&c.program, system);
    EXPECT_EQ(a.remove, c.remove) << c.label;
    EXPECT_EQ(a.modify, c.modify) << c.label;
    EXPECT_EQ(a.repair, c.repair) << c.label;
    EXPECT_TRUE(a.perProgram) << c.label;  // rename, comment and the rest ignore the lock
    EXPECT_EQ(a.locked, !c.program.ChangeAllowed) << c.label;
  }
  auto none = ComputeAvailability(nullptr, system);
  EXPECT_FALSE(none.remove || none.modify || none.repair || none.openFolder ||
               none.executeProgram || none.openUrlInfoAbout || none.perProgram || none.locked);
}

TEST(CommandAvailability, FolderFileAndPageFollowTheFileSystem) {
  MemorySystem system;
  TProgram p;
  p.SlowInfoFileName = "C:\\App\\bin\\app.exe";
  p.InstallLocation = "C:\\App";
  EXPECT_FALSE(ComputeAvailability(&p, system).openFolder);
  system.directories.insert("C:\\App");  // the install location is enough
  EXPECT_TRUE(ComputeAvailability(&p, system).openFolder);
  system.directories = {"C:\\App\\bin\\"};  // so is the executable's folder
  EXPECT_TRUE(ComputeAvailability(&p, system).openFolder);
  EXPECT_FALSE(ComputeAvailability(&p, system).executeProgram);  // the executable is gone
  system.files.insert(p.SlowInfoFileName);
  EXPECT_TRUE(ComputeAvailability(&p, system).executeProgram);
  EXPECT_FALSE(ComputeAvailability(&p, system).openUrlInfoAbout);
  p.URLInfoAbout = "https://example.org/";
  EXPECT_TRUE(ComputeAvailability(&p, system).openUrlInfoAbout);
  TProgram empty;
  system.directories.insert("");
  EXPECT_FALSE(ComputeAvailability(&empty, system).openFolder);  // empty paths never exist
}

TEST(UninstallCommands, FirstMatchWins) {
  struct Case {
    const char* label;
    CommandPlan plan;
    CommandPlan::Kind kind;
    const char* commandOrMessage;
  };
  const auto both = Program("\"C:\\A\\unins.exe\" /x", "q.exe /S", "", true);
  const auto quiet = Program("", "C:\\Q\\remove.exe /S", "", false);
  const auto msi = Program("", "", "", true);
  const auto none = Program("", "", "", false);
  const auto modify = Program("u.exe", "", "C:\\M\\setup.exe /modify", true);
  const auto noMsiButStrings = Program("u.exe", "", "m.exe", false);
  // A key name that is no product code never reaches msiexec's command line.
  auto msiOptions = msi;
  msiOptions.KeyName = "{11111111-2222-3333-4444-555555555555} /qn";
  auto msiName = msi;
  msiName.KeyName = "Orv \"Installer\" Entry";
  auto msiNotHex = msi;
  msiNotHex.KeyName = "{1111111 -2222-3333-4444-555555555555}";
  const Case cases[] = {
      {"removeBoth", PlanRemove(both), CommandPlan::Launch, "\"C:\\A\\unins.exe\" /x"},
      {"removeQuiet", PlanRemove(quiet), CommandPlan::ConfirmQuietThenLaunch, "C:\\Q\\remove.exe /S"},
      {"removeMsi", PlanRemove(msi), CommandPlan::Launch,
       "msiexec.exe /x {11111111-2222-3333-4444-555555555555}"},
      {"removeNone", PlanRemove(none), CommandPlan::Unknown,
       "コマンドが不明です。アンインストールを実行できません。"},
      {"modifyPath", PlanModify(modify), CommandPlan::Launch, "C:\\M\\setup.exe /modify"},
      {"modifyMsi", PlanModify(msi), CommandPlan::Launch,
       "msiexec.exe /i {11111111-2222-3333-4444-555555555555}"},
      {"modifyNone", PlanModify(none), CommandPlan::Unknown, "コマンドが不明です。変更を実行できません。"},
      {"repairMsi", PlanRepair(msi), CommandPlan::Launch,
       "msiexec.exe /f {11111111-2222-3333-4444-555555555555}"},
      {"repairNoMsi", PlanRepair(noMsiButStrings), CommandPlan::Unknown,
       "コマンドが不明です。修復を実行できません。"},
      {"removeMsiOptions", PlanRemove(msiOptions), CommandPlan::Unknown,
       "コマンドが不明です。アンインストールを実行できません。"},
      {"modifyMsiName", PlanModify(msiName), CommandPlan::Unknown, "コマンドが不明です。変更を実行できません。"},
      {"repairMsiNotHex", PlanRepair(msiNotHex), CommandPlan::Unknown,
       "コマンドが不明です。修復を実行できません。"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.plan.kind, c.kind) << c.label;
    EXPECT_EQ(c.plan.kind == CommandPlan::Unknown ? c.plan.unknownMessage : c.plan.commandLine,
              c.commandOrMessage)
        << c.label;
  }
  EXPECT_EQ(LaunchFailedMessage("C:\\x y.exe /S"), "プログラムを起動できません。 \r\nC:\\x y.exe /S");
}

TEST(UninstallCommands, LaunchTargetIsTheLongestExistingPrefix) {
  // C:\Program.exe is planted: an unquoted line must still reach the installer's own program.
  const std::set<std::string> files = {
      "C:\\Program.exe",
      "C:\\Program Files\\Foo\\uninst.exe",
      "C:\\Program Files\\Foo Bar\\setup.exe",
      "C:\\Program Files\\Foo Bar\\setup.exe x.exe",  // a longer name wins over a shorter one
      "C:\\Tools\\noext",
      "C:\\Tools\\run.exe",
      "C:\\Windows\\System32\\msiexec.exe",
      "C:\\Windows\\regedit.exe",
      "\\\\server\\share\\u.exe",
  };
  const LaunchFolders folders{"C:\\Windows\\System32", "C:\\Windows"};
  auto exists = [&](std::string_view path) { return files.count(std::string(path)) != 0; };
  struct Case {
    const char* line;
    const char* program;  // nullptr: names no existing file
    const char* arguments;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Foo\\uninst.exe /S", "C:\\Program Files\\Foo\\uninst.exe", "/S"},
      {"C:\\Program Files\\Foo\\uninst.exe", "C:\\Program Files\\Foo\\uninst.exe", ""},
      {"  C:\\Program Files\\Foo\\uninst.exe   /S  /D=x  ", "C:\\Program Files\\Foo\\uninst.exe",
       "/S  /D=x"},
      {"C:\\Program Files\\Foo\\uninst /S", "C:\\Program Files\\Foo\\uninst.exe", "/S"},
      {"C:\\Program Files\\Foo Bar\\setup.exe x.exe /u", "C:\\Program Files\\Foo Bar\\setup.exe x.exe",
       "/u"},
      {"C:\\Program Files\\Foo Bar\\setup.exe /u", "C:\\Program Files\\Foo Bar\\setup.exe", "/u"},
      {"C:\\Program Files\\Foo\\uninst.exe\t/S", "C:\\Program Files\\Foo\\uninst.exe", "/S"},
      // The program is gone: the planted file is not what is left, the rest is still a path.
      {"C:\\Program Files\\Gone\\uninst.exe /S", nullptr, nullptr},
      {"C:\\Program Files\\Gone\\uninst.exe", nullptr, nullptr},
      {"C:\\Program x", "C:\\Program.exe", "x"},
      {"C:\\Program /x C:\\y\\z", "C:\\Program.exe", "/x C:\\y\\z"},
      {"C:\\Tools\\run.exe C:\\Windows\\a.dll,Entry", "C:\\Tools\\run.exe",
       "C:\\Windows\\a.dll,Entry"},
      {"\"C:\\Program Files\\Foo\\uninst.exe\" /S", "C:\\Program Files\\Foo\\uninst.exe", "/S"},
      {"\"C:\\Program Files\\Gone\\uninst.exe\" /S", nullptr, nullptr},
      {"\"C:\\Program Files\\Foo\\uninst.exe /S", nullptr, nullptr},
      {"\"C:\\Program Files\\Foo\\uninst.exe\"/S", nullptr, nullptr},
      {"C:\\Tools\\noext /x", "C:\\Tools\\noext", "/x"},
      {"C:\\Tools\\run /x", "C:\\Tools\\run.exe", "/x"},
      {"C:\\Tools\\run. /x", nullptr, nullptr},
      {"C:\\Tools\\ /x", nullptr, nullptr},
      {"\\\\server\\share\\u.exe /q", "\\\\server\\share\\u.exe", "/q"},
      // Bare names come from the system folders, never from the current or the exe's folder.
      {"MsiExec.exe /X{1}", nullptr, nullptr},  // case as stored; the test's file set is exact
      {"msiexec.exe /X{1}", "C:\\Windows\\System32\\msiexec.exe", "/X{1}"},
      {"msiexec /x {1}", "C:\\Windows\\System32\\msiexec.exe", "/x {1}"},
      {"\"msiexec.exe\" /i {1}", "C:\\Windows\\System32\\msiexec.exe", "/i {1}"},
      {"regedit", "C:\\Windows\\regedit.exe", ""},
      {"run.exe /x", nullptr, nullptr},
      {"Tools\\run.exe /x", nullptr, nullptr},
      {"C:Tools\\run.exe", nullptr, nullptr},
      {"", nullptr, nullptr},
      {"   ", nullptr, nullptr},
      {"\"\"", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    std::optional<LaunchTarget> target = ResolveLaunchTarget(c.line, folders, exists);
    if (!c.program) {
      EXPECT_FALSE(target) << c.line << " -> " << target->program;
      continue;
    }
    ASSERT_TRUE(target) << c.line;
    EXPECT_EQ(target->program, c.program) << c.line;
    EXPECT_EQ(target->arguments, c.arguments) << c.line;
  }
  EXPECT_EQ(LaunchCommandLine({"C:\\Program Files\\Foo\\uninst.exe", "/S"}),
            "\"C:\\Program Files\\Foo\\uninst.exe\" /S");
  EXPECT_EQ(LaunchCommandLine({"C:\\A\\u.exe", ""}), "\"C:\\A\\u.exe\"");
}

}  // namespace
}  // namespace orv::test
