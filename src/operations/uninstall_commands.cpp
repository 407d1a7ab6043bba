#include "operations/uninstall_commands.h"

namespace orv {
namespace {

CommandPlan Launch(std::string commandLine) {
  return {CommandPlan::Launch, std::move(commandLine), {}};
}
CommandPlan Unknown(const char* message) { return {CommandPlan::Unknown, {}, message}; }

}  // namespace

CommandPlan PlanRemove(const TProgram& p) {
  if (!p.UninstallString.empty()) return Launch(p.UninstallString);
  if (!p.QuietUninstallString.empty())
    return {CommandPlan::ConfirmQuietThenLaunch, p.QuietUninstallString, {}};
  if (p.WindowsInstaller) return Launch("msiexec.exe /x " + p.KeyName);
  return Unknown("コマンドが不明です。アンインストールを実行できません。");
}

CommandPlan PlanModify(const TProgram& p) {
  if (!p.ModifyPath.empty()) return Launch(p.ModifyPath);
  if (p.WindowsInstaller) return Launch("msiexec.exe /i " + p.KeyName);
  return Unknown("コマンドが不明です。変更を実行できません。");
}

CommandPlan PlanRepair(const TProgram& p) {
  if (p.WindowsInstaller) return Launch("msiexec.exe /f " + p.KeyName);
  return Unknown("コマンドが不明です。修復を実行できません。");
}

std::string LaunchFailedMessage(const std::string& commandLine) {
  return "プログラムを起動できません。 \r\n" + commandLine;
}

}  // namespace orv
