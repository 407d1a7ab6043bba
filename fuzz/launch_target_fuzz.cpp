// The command-line planner and the program-path resolution. The input is a command line, then
// after a NUL the names of existing files, one a line. Whatever is resolved exists, and the
// quoted line it is launched with is read back as the same program.
#include <cstdlib>
#include <set>
#include <string>

#include "operations/uninstall_commands.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string line = input.substr(0, split);
  std::set<std::string> files;
  if (split != std::string::npos) {
    size_t from = split + 1;
    while (from <= input.size()) {
      size_t end = input.find('\n', from);
      if (end == std::string::npos) end = input.size();
      files.insert(input.substr(from, end - from));
      from = end + 1;
    }
  }
  auto exists = [&](std::string_view path) { return files.count(std::string(path)) != 0; };
  const orv::LaunchFolders folders{"C:\\Windows\\System32", "C:\\Windows"};
  std::optional<orv::LaunchTarget> target = orv::ResolveLaunchTarget(line, folders, exists);
  if (target) {
    if (!exists(target->program)) std::abort();
    // A program path with a quote in it could not be told apart from its arguments.
    if (target->program.find('"') == std::string::npos) {
      const std::string quoted = orv::LaunchCommandLine(*target);
      std::optional<orv::LaunchTarget> again = orv::ResolveLaunchTarget(quoted, folders, exists);
      if (!again || again->program != target->program || again->arguments != target->arguments)
        std::abort();
    }
  }
  orv::TProgram program;
  program.KeyName = line;
  program.UninstallString = line;
  program.WindowsInstaller = !line.empty() && (line[0] & 1);
  (void)orv::PlanRemove(program);
  (void)orv::PlanModify(program);
  (void)orv::PlanRepair(program);
  return 0;
}
