// Renaming a program in its Uninstall entry: "DisplayName" is the name in force, and
// "OriginalDisplayName" keeps the name before the first rename so it can be restored.
#pragma once
#include <string>

#include "annotations/entry_edit.h"

namespace orv {

struct RenameStart {
  bool opened = false;       // false: the entry could not be opened
  std::string newName;       // "DisplayName"
  std::string originalName;  // what a restore brings back
};

RenameStart ReadRenameStart(Registry& registry, const EntryIdentity& entry);

// Writes the new name. Equal to the original (exactly, letter case counts) restores it:
// "DisplayName" first, then "OriginalDisplayName" goes. Otherwise the original is kept first,
// so a failed second write never loses it; a "DisplayName" that cannot be written takes the
// just-written original back out, leaving the entry as it was.
EntryEditResult ApplyRename(Registry& registry, const EntryIdentity& entry,
                            const std::string& newName, const std::string& originalName);

}  // namespace orv
