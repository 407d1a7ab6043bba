// Turns the Uninstall entries of one registry root into program records.
#pragma once
#include <cstdint>
#include <functional>

#include "catalogue/program.h"
#include "platform/registry.h"
#include "platform/system_services.h"

namespace orv {

struct ScanContext {
  Registry& registry;
  SystemServices& system;
  // Copies the stored annotations into a new record; without a store every program is new.
  std::function<void(TProgram&)> annotate;
  // The icon step: the image index of the record's icon, or -1.
  std::function<std::int32_t(const TProgram&)> loadIcon;
};

void ScanUninstallKey(ScanContext& context, RegistryRoot root, ProgramList& programs);
// Empties `programs`, then scans the current user, the 64-bit and the 32-bit machine views.
void ScanAllUninstallKeys(ScanContext& context, ProgramList& programs);

bool IsUpdateProgram(const TProgram* program);

// Subkeys of the root's Uninstall key, or -1 when it cannot be opened.
std::int32_t CountUninstallKeys(Registry& registry, RegistryRoot root);

}  // namespace orv
