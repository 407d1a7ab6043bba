// The expert clean-up commands: deleting an entry's Uninstall key or its cached usage data,
// always in the entry's own hive and view.
#pragma once
#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace orv {

enum class CleanupCommand { RemoveRegEntry, DeleteSlowInfoCache };

// The entry a clean-up acts on. Taken from the selected record before the warning box: while
// the box is open the watch may replace every record.
struct CleanupTarget {
  RegistryRoot root = RegistryRoot::CurrentUser;
  std::string keyName;
};

// The warning shown before deleting (caption "警告", OK and Cancel, Cancel the default).
const char* CleanupWarning(CleanupCommand command);

struct CleanupResult {
  enum Kind {
    Deleted,
    NothingToDelete,  // the parent or the entry's key is not there: nothing to tell
    Refused,          // the system refused: `error` says why
    InvalidName,      // an empty name or a path: never deleted
  } kind = NothingToDelete;
  std::uint32_t error = 0;
};

// Deletes the entry's key with everything below it, under the command's parent key.
CleanupResult RunCleanup(Registry& registry, const CleanupTarget& target, CleanupCommand command);

// The full path of the key the command deletes, as the registry editor shows it.
std::string CleanupKeyPath(const CleanupTarget& target, CleanupCommand command);

// The "エラー" box text for a refused or invalid clean-up; `reason` is the system's text.
std::string CleanupFailedMessage(const CleanupTarget& target, CleanupCommand command,
                                 const CleanupResult& result, const std::string& reason);

}  // namespace orv
