#include "operations/uninstall_commands.h"

#include <vector>

namespace orv {
namespace {

CommandPlan Launch(std::string commandLine) {
  return {CommandPlan::Launch, std::move(commandLine), {}};
}
CommandPlan Unknown(const char* message) { return {CommandPlan::Unknown, {}, message}; }

// The Windows Installer fallbacks put the key name on msiexec's command line: only a product
// code may go there, never a name whose blanks or quotes would add options of its own.
bool IsProductCode(std::string_view name) {
  if (name.size() != 38 || name.front() != '{' || name.back() != '}') return false;
  for (std::size_t i = 1; i < 37; ++i) {
    const char c = name[i];
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    if (dash ? c != '-' : !hex) return false;
  }
  return true;
}

bool UsesInstaller(const TProgram& p) { return p.WindowsInstaller && IsProductCode(p.KeyName); }

}  // namespace

CommandPlan PlanRemove(const TProgram& p) {
  if (!p.UninstallString.empty()) return Launch(p.UninstallString);
  if (!p.QuietUninstallString.empty())
    return {CommandPlan::ConfirmQuietThenLaunch, p.QuietUninstallString, {}};
  if (UsesInstaller(p)) return Launch("msiexec.exe /x " + p.KeyName);
  return Unknown("コマンドが不明です。アンインストールを実行できません。");
}

CommandPlan PlanModify(const TProgram& p) {
  if (!p.ModifyPath.empty()) return Launch(p.ModifyPath);
  if (UsesInstaller(p)) return Launch("msiexec.exe /i " + p.KeyName);
  return Unknown("コマンドが不明です。変更を実行できません。");
}

CommandPlan PlanRepair(const TProgram& p) {
  if (UsesInstaller(p)) return Launch("msiexec.exe /f " + p.KeyName);
  return Unknown("コマンドが不明です。修復を実行できません。");
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// "C:\x" or "\\server\share\x": the only forms taken as they stand. Drive-relative ("C:x")
// and folder-relative paths would depend on the current folder.
bool IsAbsolute(std::string_view path) {
  if (path.size() >= 3 && path[1] == ':' && IsSeparator(path[2]))
    return (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
  return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

bool IsBareName(std::string_view path) {
  return path.find_first_of("\\/:") == std::string_view::npos;
}

bool HasExtension(std::string_view path) {
  size_t lastSeparator = path.find_last_of("\\/");
  std::string_view name = lastSeparator == std::string_view::npos ? path : path.substr(lastSeparator + 1);
  return name.find('.') != std::string_view::npos;
}

std::string JoinFolder(const std::string& folder, std::string_view name) {
  std::string joined = folder;
  if (!joined.empty() && !IsSeparator(joined.back())) joined += '\\';
  joined += name;
  return joined;
}

// The existing file a program path names, or nothing.
std::optional<std::string> ExistingProgram(std::string_view path, const LaunchFolders& folders,
                                           const std::function<bool(std::string_view)>& fileExists) {
  // A trailing separator or dot names a folder or nothing; Windows would quietly drop the dots.
  if (path.empty() || IsSeparator(path.back()) || path.back() == '.' || IsBlank(path.back()))
    return std::nullopt;
  std::vector<std::string> candidates;
  if (IsAbsolute(path)) {
    candidates.emplace_back(path);
  } else if (IsBareName(path)) {
    for (const std::string* folder : {&folders.system, &folders.windows})
      if (!folder->empty()) candidates.push_back(JoinFolder(*folder, path));
  }
  for (const std::string& candidate : candidates) {
    if (fileExists(candidate)) return candidate;
    if (!HasExtension(candidate) && fileExists(candidate + ".exe")) return candidate + ".exe";
  }
  return std::nullopt;
}

// "Files\\Gone\\u.exe /S" after "C:\\Program": the rest of a path whose program is gone, not
// arguments. Stopping there would start a planted "C:\\Program.exe" after all.
bool ContinuesAPath(std::string_view rest) {
  std::string_view word = rest.substr(0, rest.find_first_of(" \t"));
  if (word.empty() || word.front() == '/' || word.front() == '-' || word.front() == '"') return false;
  return word.find_first_of("\\/") != std::string_view::npos && !IsAbsolute(word);
}

}  // namespace

std::optional<LaunchTarget> ResolveLaunchTarget(std::string_view commandLine,
                                                const LaunchFolders& folders,
                                                const std::function<bool(std::string_view)>& fileExists) {
  std::string_view line = TrimBlanks(commandLine);
  if (line.empty()) return std::nullopt;
  if (line.front() == '"') {
    size_t close = line.find('"', 1);
    if (close == std::string_view::npos) return std::nullopt;
    std::optional<std::string> program = ExistingProgram(line.substr(1, close - 1), folders, fileExists);
    if (!program) return std::nullopt;
    std::string_view rest = line.substr(close + 1);
    // "C:\a.exe"x is one malformed word, not a program and an argument.
    if (!rest.empty() && !IsBlank(rest.front())) return std::nullopt;
    return LaunchTarget{*program, std::string(TrimBlanks(rest))};
  }
  // Longest first: the end of the line, then every blank from the right.
  for (size_t end = line.size();;) {
    std::string_view rest = TrimBlanks(line.substr(end));
    if (!ContinuesAPath(rest))
      if (std::optional<std::string> program = ExistingProgram(line.substr(0, end), folders, fileExists))
        return LaunchTarget{*program, std::string(rest)};
    size_t blank = line.find_last_of(" \t", end - 1);
    if (blank == std::string_view::npos || blank == 0) return std::nullopt;
    end = blank;
  }
}

std::string LaunchCommandLine(const LaunchTarget& target) {
  std::string line = "\"" + target.program + "\"";
  if (!target.arguments.empty()) line += " " + target.arguments;
  return line;
}

std::string LaunchFailedMessage(const std::string& commandLine) {
  return "プログラムを起動できません。 \r\n" + commandLine;
}

}  // namespace orv
