// Which command line remove, modify and repair run for a program.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

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

// What a stored command line starts: the program's full path and the arguments after it.
struct LaunchTarget {
  std::string program;
  std::string arguments;
  bool operator==(const LaunchTarget&) const = default;
};

// Where a bare program name ("MsiExec.exe /X{...}") is looked for: the system folder, then the
// Windows folder; never the current or the exe's own folder.
struct LaunchFolders {
  std::string system;
  std::string windows;
};

// The program a command line names, read the way its installer meant it: a quoted path as it
// stands; an unquoted one as the longest prefix ending at a blank or the end that names an
// existing file (".exe" added where the prefix has no extension), so "C:\Program Files\A\u.exe"
// never becomes "C:\Program.exe". Nothing when no existing file is named.
std::optional<LaunchTarget> ResolveLaunchTarget(std::string_view commandLine,
                                                const LaunchFolders& folders,
                                                const std::function<bool(std::string_view)>& fileExists);

// The line handed to the process: the program quoted, then the arguments.
std::string LaunchCommandLine(const LaunchTarget& target);

// The message when a process cannot be created, with the command line it was given.
std::string LaunchFailedMessage(const std::string& commandLine);

}  // namespace orv
