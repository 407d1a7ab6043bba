#include "operations/shell_targets.h"

#include "text/utf.h"

namespace orv {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsAsciiNoCase(text.substr(0, prefix.size()), prefix);
}

std::optional<std::string> ExistingFolder(std::string folder, SystemServices& system) {
  if (!IsLocalAbsolutePath(folder) || !system.DirectoryExists(folder)) return std::nullopt;
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace

bool IsWebAddress(std::string_view text) {
  std::string_view rest;
  if (StartsWithNoCase(text, "http://"))
    rest = text.substr(7);
  else if (StartsWithNoCase(text, "https://"))
    rest = text.substr(8);
  else
    return false;
  if (rest.empty() || rest.front() == '/' || rest.front() == '\\') return false;
  for (char c : text)
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F || c == '"') return false;
  return true;
}

bool IsLocalAbsolutePath(std::string_view path) {
  if (path.size() < 3) return false;
  const char drive = path[0];
  const bool letter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
  return letter && path[1] == ':' && path[2] == '\\';
}

std::string FolderPart(std::string_view path) {
  std::size_t slash = path.find_last_of('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::optional<std::string> FolderToOpen(const TProgram& program, SystemServices& system) {
  if (auto folder = ExistingFolder(FolderPart(program.SlowInfoFileName), system)) return folder;
  return ExistingFolder(program.InstallLocation, system);
}

std::optional<std::string> ProgramToRun(const TProgram& program, SystemServices& system) {
  const std::string& file = program.SlowInfoFileName;
  if (!IsLocalAbsolutePath(file) || !system.FileExists(file)) return std::nullopt;
  return file;
}

std::optional<std::string> PublisherPage(const TProgram& program) {
  std::string address = TrimControls(program.URLInfoAbout);
  if (!IsWebAddress(address)) return std::nullopt;
  return address;
}

std::string RunProgramQuestion(const std::string& path) { return path + "\nを実行しますか ?"; }

}  // namespace orv
