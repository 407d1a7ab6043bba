#include "app/command_availability.h"

#include "operations/shell_targets.h"

namespace orv {

CommandAvailability ComputeAvailability(const TProgram* r, SystemServices& system) {
  CommandAvailability a;
  if (!r) return a;
  const bool unlocked = r->ChangeAllowed;
  a.remove = unlocked && !r->NoRemove &&
             (!r->UninstallString.empty() || !r->QuietUninstallString.empty() || r->WindowsInstaller);
  a.modify = unlocked && !r->NoModify && (!r->ModifyPath.empty() || r->WindowsInstaller);
  a.repair = unlocked && !r->NoRepair && r->WindowsInstaller;
  // The same decisions the commands act on; a server path is never probed.
  a.openFolder = FolderToOpen(*r, system).has_value();
  a.executeProgram = ProgramToRun(*r, system).has_value();
  a.openUrlInfoAbout = PublisherPage(*r).has_value();
  a.perProgram = true;
  a.locked = !r->ChangeAllowed;
  return a;
}

}  // namespace orv
