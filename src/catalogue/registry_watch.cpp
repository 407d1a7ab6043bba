#include "catalogue/registry_watch.h"

#include "catalogue/uninstall_scan.h"

namespace orv {

UninstallKeyCounts CountAllUninstallKeys(Registry& registry) {
  UninstallKeyCounts counts{};
  for (std::size_t i = 0; i < counts.size(); ++i)
    counts[i] = CountUninstallKeys(registry, kAllRegistryRoots[i]);
  return counts;
}

bool RegistryWatchTick(Registry& registry, UninstallKeyCounts& counts) {
  for (std::size_t i = 0; i < counts.size(); ++i) {
    std::int32_t n = CountUninstallKeys(registry, kAllRegistryRoots[i]);
    if (n > 0 && n != counts[i]) {
      counts[i] = n;
      return true;
    }
  }
  return false;
}

}  // namespace orv
