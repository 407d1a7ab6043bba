#include "annotations/rename_dialog.h"

#include "annotations/rename_dialog_ids.h"
#include "annotations/rename_entry.h"

namespace orv {

TRenameDialog::TRenameDialog(Registry& registry, EntryIdentity entry, HFONT font)
    : TEntryEditDialog(registry, std::move(entry), font, IDD_RENAME,
                       {IDC_RENAME_NEWNAME, IDC_RENAME_ORIGINALNAME, IDC_RENAME_NEWLABEL,
                        IDC_RENAME_ORIGINALLABEL}) {}

void TRenameDialog::OnPrepare() {
  Unlimited(IDC_RENAME_NEWNAME);  // a name of any length
  // The restore button has no caption: its hint says what it does.
  hints_.Add(Item(IDC_RENAME_RESTORE), "元の名前に戻す");
}

bool TRenameDialog::ReadEntry() {
  const RenameStart start = ReadRenameStart(registry_, entry_);
  if (!start.opened) return false;
  SetItemText(IDC_RENAME_NEWNAME, start.newName);
  SetItemText(IDC_RENAME_ORIGINALNAME, start.originalName);
  return true;
}

EntryEditResult TRenameDialog::WriteEntry() {
  return ApplyRename(registry_, entry_, ItemText(IDC_RENAME_NEWNAME), ItemText(IDC_RENAME_ORIGINALNAME));
}

bool TRenameDialog::OnCommand(int id, int code) {
  if (id != IDC_RENAME_RESTORE) return TEntryEditDialog::OnCommand(id, code);
  RestoreButtonClick();
  return true;
}

void TRenameDialog::RestoreButtonClick() {
  SetItemText(IDC_RENAME_NEWNAME, ItemText(IDC_RENAME_ORIGINALNAME));
}

}  // namespace orv
