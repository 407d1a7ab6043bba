// Edits written straight into a program's Uninstall entry (its name, its comment). They act on
// the entry's identity, taken before any dialog opened: while a dialog runs its own message
// loop the records may all be replaced.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "catalogue/program.h"
#include "platform/registry.h"

namespace orv {

// One entry: its hive with the view it was read in, and its exact subkey name.
struct EntryIdentity {
  RegistryRoot root = RegistryRoot::CurrentUser;
  std::string keyName;
};

inline EntryIdentity IdentityOf(const TProgram& program) {
  return {program.RootKey, program.KeyName};
}

struct EntryEditResult {
  enum Status { Done, EntryGone, Failed };
  Status status = Done;
  std::uint32_t errorCode = 0;  // the system's code, when Failed
  std::string valueName;        // the value that could not be written or deleted; "" = the key
};

inline constexpr std::string_view kEntryGoneMessage =
    "レジストリを開くことができません. すでにアンインストール済みかもしれません. ";

// The entry's key, read-only or for writing; never created. Null for an empty or path-like
// key name, which names no entry of its own.
std::unique_ptr<RegistryKey> OpenEntry(Registry& registry, const EntryIdentity& entry,
                                       KeyAccess access);
class TRegistryEx;
// Opens the entry in the accessor, read-only, for the tolerant reads.
bool OpenEntryReadOnly(TRegistryEx& reg, const EntryIdentity& entry);
// The entry's key for writing; on failure `result` says whether the entry is gone or refused.
std::unique_ptr<RegistryKey> OpenEntryForWrite(Registry& registry, const EntryIdentity& entry,
                                               EntryEditResult& result);

// The "エラー" text for a failed edit, with the system's reason appended.
std::string EntryEditFailureMessage(const EntryEditResult& result, const std::string& reason);

}  // namespace orv
