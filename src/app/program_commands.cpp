// Remove, modify and repair: the command line is started detached; the watch sees the result.
#include "app/command_ids.h"
#include "app/main_window.h"
#include "operations/uninstall_commands.h"
#include "platform/scope_exit.h"
#include "platform/win32/wide.h"
#include "ui/message_box.h"
#include "ui/modal_scope.h"

namespace orv {

void TForm1::ActRemoveProgramExecute() {
  if (const TProgram* r = SelectedProgram()) RunPlan(PlanRemove(*r));
}

void TForm1::ActModifyProgramExecute() {
  if (const TProgram* r = SelectedProgram()) RunPlan(PlanModify(*r));
}

void TForm1::ActRepairProgramExecute() {
  if (const TProgram* r = SelectedProgram()) RunPlan(PlanRepair(*r));
}

void TForm1::RunPlan(const CommandPlan& plan) {
  switch (plan.kind) {
    case CommandPlan::Unknown:
      ui::ShowError(Handle(), plan.unknownMessage);
      return;
    case CommandPlan::ConfirmQuietThenLaunch:
      if (!ui::AskWarning(Handle(), kQuietUninstallWarning, ui::WarningButtons::YesNo)) return;
      LaunchCommand(plan.commandLine);
      return;
    case CommandPlan::Launch: LaunchCommand(plan.commandLine); return;
  }
}

namespace {

std::string SystemFolder(UINT (WINAPI* get)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH];
  UINT length = get(buffer, MAX_PATH);
  return length == 0 || length >= MAX_PATH ? std::string() : Narrow(std::wstring_view(buffer, length));
}

}  // namespace

bool TForm1::LaunchCommand(const std::string& commandLine) {
  // The stored line is never handed to the system to parse: an unquoted path with blanks would
  // try "C:\Program.exe" first, and a bare name would be searched for in the exe's own folder.
  const LaunchFolders folders{SystemFolder(GetSystemDirectoryW), SystemFolder(GetSystemWindowsDirectoryW)};
  std::optional<LaunchTarget> target = ResolveLaunchTarget(
      commandLine, folders, [this](std::string_view path) { return system_.FileExists(path); });
  if (target) {
    std::wstring program = Widen(target->program);
    std::wstring line = Widen(LaunchCommandLine(*target));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
      // Detached: the uninstaller runs on its own; its exit is never awaited.
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
      return true;
    }
  }
  ui::ShowError(Handle(), LaunchFailedMessage(commandLine));
  return false;
}

void TForm1::SetWatchTimer(bool enabled) {
  if (enabled)
    SetTimer(Handle(), kWatchTimerId, 1000, nullptr);
  else
    KillTimer(Handle(), kWatchTimerId);
}

void TForm1::WatchTimerTick() {
  // The counts stay as they were, so the first tick after the box catches up.
  if (ui::ModalScope::Active()) return;
  SetWatchTimer(false);
  ScopeExit restart([this] { SetWatchTimer(true); });
  // Only the entries that changed are read again; F5 rereads them all.
  if (watch_.Tick(keyCounts_)) RefreshPrograms(false);
}

}  // namespace orv
