#include "annotations/entry_edit_dialog.h"

#include <string>

#include "platform/win32/system_error.h"
#include "ui/message_box.h"

namespace orv {

bool TEntryEditDialog::Run(HINSTANCE instance, HWND owner) {
  return ShowModal(instance, templateId_, owner) == IDOK;
}

void TEntryEditDialog::OnInit() {
  font_.Reset(ui::CopyFont(ownerFont_));
  ui::SetFontOfWindow(Handle(), font_.Get());
  OnPrepare();
  if (ReadEntry()) return;
  ui::ShowError(Handle(), std::string(kEntryGoneMessage));
  EnableWindow(Item(IDOK), FALSE);
  for (int id : inputs_) EnableWindow(Item(id), FALSE);
}

bool TEntryEditDialog::OnCommand(int id, int) {
  if (id != IDOK) return false;
  OkButtonClick();
  return true;
}

void TEntryEditDialog::OkButtonClick() {
  if (!IsWindowEnabled(Item(IDOK))) return;  // Enter on a disabled dialog
  const EntryEditResult result = WriteEntry();
  if (result.status == EntryEditResult::EntryGone)
    ui::ShowError(Handle(), std::string(kEntryGoneMessage));
  else if (result.status == EntryEditResult::Failed)
    ui::ShowError(Handle(), EntryEditFailureMessage(result, SystemErrorText(result.errorCode)));
  End(IDOK);
}

}  // namespace orv
