// Which per-program commands the selected program allows: one decision over a plain snapshot.
#pragma once
#include "catalogue/program.h"
#include "platform/system_services.h"

namespace orv {

struct CommandAvailability {
  bool remove = false, modify = false, repair = false;
  bool openFolder = false, executeProgram = false, openUrlInfoAbout = false;
  bool perProgram = false;  // lock, rename, registry entry, copy name, tags, properties, comment,
                            // SlowInfoCache: enabled whenever a program is selected
  bool locked = false;      // the lock command's check mark
};

// Nothing selected: everything off. File tests go to the file system at each call.
CommandAvailability ComputeAvailability(const TProgram* selected, SystemServices& system);

}  // namespace orv
