#include "annotations/rename_entry.h"

#include "catalogue/registry_ex.h"

namespace orv {
namespace {

constexpr std::string_view kDisplayName = "DisplayName";
constexpr std::string_view kOriginalDisplayName = "OriginalDisplayName";

EntryEditResult Failure(RegistryKey& key, std::string_view valueName) {
  EntryEditResult result;
  result.status = EntryEditResult::Failed;
  result.errorCode = key.LastError();
  result.valueName = std::string(valueName);
  return result;
}

}  // namespace

RenameStart ReadRenameStart(Registry& registry, const EntryIdentity& entry) {
  RenameStart start;
  TRegistryEx reg(registry);
  if (!OpenEntryReadOnly(reg, entry)) return start;
  start.opened = true;
  start.newName = ReadStringDef(reg, kDisplayName, "");
  if (reg.ValueExists(kOriginalDisplayName)) {
    start.originalName = ReadStringDef(reg, kOriginalDisplayName, "");
  } else {
    start.originalName = start.newName;
    if (start.originalName.empty()) start.originalName = ReadStringDef(reg, "QuietDisplayName", "");
    if (start.originalName.empty()) start.originalName = entry.keyName;
  }
  return start;
}

EntryEditResult ApplyRename(Registry& registry, const EntryIdentity& entry,
                            const std::string& newName, const std::string& originalName) {
  EntryEditResult result;
  auto key = OpenEntryForWrite(registry, entry, result);
  if (!key) return result;
  if (newName == originalName) {
    if (!key->WriteString(kDisplayName, newName)) return Failure(*key, kDisplayName);
    if (key->ValueExists(kOriginalDisplayName) && !key->DeleteValue(kOriginalDisplayName))
      return Failure(*key, kOriginalDisplayName);
    return result;
  }
  bool keptOriginal = false;
  if (!key->ValueExists(kOriginalDisplayName)) {
    if (!key->WriteString(kOriginalDisplayName, originalName))
      return Failure(*key, kOriginalDisplayName);
    keptOriginal = true;
  }
  if (!key->WriteString(kDisplayName, newName)) {
    EntryEditResult failed = Failure(*key, kDisplayName);
    if (keptOriginal) key->DeleteValue(kOriginalDisplayName);
    return failed;
  }
  return result;
}

}  // namespace orv
