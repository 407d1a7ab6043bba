#include "app/command_availability.h"

namespace orv {
namespace {

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

CommandAvailability ComputeAvailability(const TProgram* r, SystemServices& system) {
  CommandAvailability a;
  if (!r) return a;
  const bool unlocked = r->ChangeAllowed;
  a.remove = unlocked && !r->NoRemove &&
             (!r->UninstallString.empty() || !r->QuietUninstallString.empty() || r->WindowsInstaller);
  a.modify = unlocked && !r->NoModify && (!r->ModifyPath.empty() || r->WindowsInstaller);
  a.repair = unlocked && !r->NoRepair && r->WindowsInstaller;
  const std::string folder = FolderOf(r->SlowInfoFileName);
  a.openFolder = (!folder.empty() && system.DirectoryExists(folder)) ||
                 (!r->InstallLocation.empty() && system.DirectoryExists(r->InstallLocation));
  a.executeProgram = !r->SlowInfoFileName.empty() && system.FileExists(r->SlowInfoFileName);
  a.openUrlInfoAbout = !r->URLInfoAbout.empty();
  a.perProgram = true;
  a.locked = !r->ChangeAllowed;
  return a;
}

}  // namespace orv
