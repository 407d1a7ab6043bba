// A program's small icon, from its DisplayIcon value or the executable the usage cache names.
#pragma once
#include <windows.h>

#include "catalogue/program.h"
#include "platform/system_services.h"

namespace orv {

// The caller owns the returned icon; 0 when none was found.
HICON LoadProgramIcon(const TProgram* program, SystemServices& system);

}  // namespace orv
