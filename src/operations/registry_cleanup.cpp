#include "operations/registry_cleanup.h"

#include "catalogue/registry_ex.h"

namespace orv {
namespace {

std::string_view ParentKeyOf(CleanupCommand command) {
  return command == CleanupCommand::RemoveRegEntry ? kUninstallKey : kArpCacheKey;
}

}  // namespace

const char* CleanupWarning(CleanupCommand command) {
  if (command == CleanupCommand::RemoveRegEntry)
    return "これはレジストリに残ってしまったごみ情報を削除するための機能です。\n"
           "必要な情報を削除してしまうとプログラムがアンインストールできなくなります。\n\n"
           "本当にこのプログラムのレジストリ情報を削除してもよろしいですか ?";
  return "これはレジストリからSlowInfoCacheを削除するための機能です。\n\n"
         "本当にこのプログラムのSlowInfoCacheを削除してもよろしいですか ?";
}

CleanupResult RunCleanup(Registry& registry, const CleanupTarget& target, CleanupCommand command) {
  if (!IsPlainKeyName(target.keyName)) return {CleanupResult::InvalidName, kRegErrorInvalidName};
  TRegistryEx accessor(registry);
  accessor.SetRootKey(target.root);
  // Read access is enough: deleting asks for access on the deleted keys themselves.
  if (!accessor.OpenKeyReadOnly(ParentKeyOf(command))) return {CleanupResult::NothingToDelete, 0};
  const RegistryStatus status = accessor.DeleteKey(target.keyName);
  if (status) return {CleanupResult::Deleted, 0};
  if (status.error == kRegErrorNotFound) return {CleanupResult::NothingToDelete, 0};
  return {CleanupResult::Refused, status.error};
}

std::string CleanupKeyPath(const CleanupTarget& target, CleanupCommand command) {
  std::string parent(ParentKeyOf(command));
  std::string hive = "HKEY_LOCAL_MACHINE\\";
  if (target.root == RegistryRoot::CurrentUser) hive = "HKEY_CURRENT_USER\\";
  // The 32-bit view is the WOW6432Node branch of the machine's SOFTWARE key.
  if (target.root == RegistryRoot::LocalMachine32)
    parent.insert(std::string_view("SOFTWARE\\").size(), "WOW6432Node\\");
  return hive + parent + target.keyName;
}

std::string CleanupFailedMessage(const CleanupTarget& target, CleanupCommand command,
                                 const CleanupResult& result, const std::string& reason) {
  if (result.kind == CleanupResult::InvalidName)
    return "キー名が正しくないため削除しませんでした。\n" + CleanupKeyPath(target, command);
  std::string text = "レジストリキーを削除できません。\n" + CleanupKeyPath(target, command);
  if (!reason.empty()) text += "\n\n" + reason;
  return text;
}

}  // namespace orv
