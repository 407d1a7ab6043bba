// Which command line remove, modify and repair run for a program.
#pragma once
#include <string>

#include "catalogue/program.h"

namespace orv {

struct CommandPlan {
  enum Kind { Launch, ConfirmQuietThenLaunch, Unknown } kind = Unknown;
  std::string commandLine;  // exactly as stored, or the Windows Installer command
  std::string unknownMessage;
};

CommandPlan PlanRemove(const TProgram& program);
CommandPlan PlanModify(const TProgram& program);
CommandPlan PlanRepair(const TProgram& program);

inline constexpr const char* kQuietUninstallWarning =
    "注意: このプログラムはサイレントモードで削除されます。ダイアログなどは表示されません。\r\n続行しますか?";

// The message when a process cannot be created, with the command line it was given.
std::string LaunchFailedMessage(const std::string& commandLine);

}  // namespace orv
