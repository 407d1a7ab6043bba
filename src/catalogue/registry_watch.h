// The one-second poll of the Uninstall keys' subkey counts.
#pragma once
#include <array>
#include <cstdint>

#include "platform/registry.h"

namespace orv {

using UninstallKeyCounts = std::array<std::int32_t, 3>;  // by RegistryRoot

UninstallKeyCounts CountAllUninstallKeys(Registry& registry);

// Looks at the roots in order and stops at the first whose count changed: stores that count
// and returns true (a refresh is due). A count of 0 or -1 is never a change.
bool RegistryWatchTick(Registry& registry, UninstallKeyCounts& counts);

}  // namespace orv
