// The one-second poll of the Uninstall keys' subkey counts.
#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "platform/registry.h"

namespace orv {

using UninstallKeyCounts = std::array<std::int32_t, 3>;  // by RegistryRoot

UninstallKeyCounts CountAllUninstallKeys(Registry& registry);

// Keeps the three Uninstall keys open between ticks, so a tick costs one count query per key.
class RegistryWatch {
 public:
  explicit RegistryWatch(Registry& registry) : registry_(registry) {}
  // The root's current count, or -1 when its key cannot be opened.
  std::int32_t Count(std::size_t root);
  // Looks at the roots in order and stops at the first whose count changed: stores that count
  // and returns true (a refresh is due). A count of -1 (key unreadable) is never a change.
  bool Tick(UninstallKeyCounts& counts);

 private:
  Registry& registry_;
  std::array<std::unique_ptr<RegistryKey>, 3> keys_;
};

}  // namespace orv
