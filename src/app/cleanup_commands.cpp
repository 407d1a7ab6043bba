// "レジストリ情報を削除(&M)" and "SlowInfoCacheを削除(&L)": no uninstaller runs, the key goes.
#include "app/main_window.h"
#include "operations/registry_cleanup.h"
#include "platform/win32/system_error.h"
#include "ui/message_box.h"

namespace orv {

void TForm1::ActRemoveRegEntryExecute() { RunCleanupCommand(CleanupCommand::RemoveRegEntry); }

void TForm1::ActDeleteSlowInfoCacheExecute() {
  RunCleanupCommand(CleanupCommand::DeleteSlowInfoCache);
}

void TForm1::RunCleanupCommand(CleanupCommand command) {
  const TProgram* r = SelectedProgram();
  if (!r) return;
  // The box runs a message loop in which the records may be replaced: keep the identity.
  const CleanupTarget target{r->RootKey, r->KeyName};
  r = nullptr;
  if (!ui::AskWarning(Handle(), CleanupWarning(command), ui::WarningButtons::OkCancel)) return;
  const CleanupResult result = RunCleanup(registry_, target, command);
  // The list is not refreshed here: the watch sees the removed entry at its next tick.
  if (result.kind == CleanupResult::Refused || result.kind == CleanupResult::InvalidName)
    ui::ShowError(Handle(), CleanupFailedMessage(target, command, result,
                                                result.kind == CleanupResult::Refused
                                                    ? SystemErrorText(result.error)
                                                    : std::string()));
}

}  // namespace orv
