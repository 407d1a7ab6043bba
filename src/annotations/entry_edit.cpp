#include "annotations/entry_edit.h"

#include "catalogue/registry_ex.h"

namespace orv {
namespace {

// An empty or path-like name would reach the Uninstall key itself or a key of another entry.
bool NamesOneEntry(const EntryIdentity& entry) { return IsPlainKeyName(entry.keyName); }

}  // namespace

std::unique_ptr<RegistryKey> OpenEntry(Registry& registry, const EntryIdentity& entry,
                                       KeyAccess access) {
  if (!NamesOneEntry(entry)) return nullptr;
  return registry.OpenKey(entry.root, std::string(kUninstallKey) + entry.keyName, access);
}

bool OpenEntryReadOnly(TRegistryEx& reg, const EntryIdentity& entry) {
  if (!NamesOneEntry(entry)) return false;
  reg.SetRootKey(entry.root);
  return reg.OpenKeyReadOnly(std::string(kUninstallKey) + entry.keyName);
}

std::unique_ptr<RegistryKey> OpenEntryForWrite(Registry& registry, const EntryIdentity& entry,
                                               EntryEditResult& result) {
  result = {};
  if (!NamesOneEntry(entry)) {
    result.status = EntryEditResult::EntryGone;
    return nullptr;
  }
  auto key = OpenEntry(registry, entry, KeyAccess::ReadWrite);
  if (key) return key;
  const std::uint32_t code = registry.LastOpenError();
  if (code == kRegErrorNotFound || code == kRegErrorPathNotFound) {
    result.status = EntryEditResult::EntryGone;
  } else {
    result.status = EntryEditResult::Failed;
    result.errorCode = code;
  }
  return nullptr;
}

std::string EntryEditFailureMessage(const EntryEditResult& result, const std::string& reason) {
  std::string text = result.valueName.empty()
                         ? "レジストリのキーを書き込み用に開けません. "
                         : "レジストリの値 \"" + result.valueName + "\" を変更できません. ";
  if (!reason.empty()) text += "\n\n" + reason;
  return text;
}

}  // namespace orv
