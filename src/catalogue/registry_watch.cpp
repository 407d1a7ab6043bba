#include "catalogue/registry_watch.h"

#include "catalogue/registry_ex.h"
#include "catalogue/uninstall_scan.h"

namespace orv {

UninstallKeyCounts CountAllUninstallKeys(Registry& registry) {
  UninstallKeyCounts counts{};
  for (std::size_t i = 0; i < counts.size(); ++i)
    counts[i] = CountUninstallKeys(registry, kAllRegistryRoots[i]);
  return counts;
}

std::int32_t RegistryWatch::Count(std::size_t root) {
  auto& key = keys_[root];
  // A held key that was deleted (or deleted and made again) stops answering: open it anew.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!key) key = registry_.OpenKey(kAllRegistryRoots[root], kUninstallKey, KeyAccess::Read);
    if (!key) return -1;
    if (auto count = key->SubKeyCount()) return static_cast<std::int32_t>(*count);
    key.reset();
  }
  return -1;
}

bool RegistryWatch::Tick(UninstallKeyCounts& counts) {
  for (std::size_t i = 0; i < counts.size(); ++i) {
    std::int32_t n = Count(i);
    // An emptied key is a change: its last entry's row must go. A key that cannot be read
    // (-1) is not: the rows stay until it answers again.
    if (n >= 0 && n != counts[i]) {
      counts[i] = n;
      return true;
    }
  }
  return false;
}

}  // namespace orv
