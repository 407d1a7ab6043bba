// Properties, rename and comment: each takes the selected entry's identity before any dialog
// opens and acts on that identity, never on a record a rescan may replace meanwhile.
#include "annotations/edit_comment_dialog.h"
#include "annotations/rename_dialog.h"
#include "app/command_ids.h"
#include "app/main_window.h"
#include "dialogs/property_dialog.h"

namespace orv {

void TForm1::ActPropertyExecute() {
  const TProgram* r = SelectedProgram();
  if (!r) return;
  if (!PropertyDialog)
    PropertyDialog = TPropertyDialog::Create(instance_, Handle(), font_.Get(), registry_, system_,
                                             [this](const EntryIdentity& entry) { EditComment(entry); });
  if (!PropertyDialog) return;
  PropertyDialog->SetProgram(r);
  PropertyDialog->Show();
}

void TForm1::ActRenameExecute() {
  const TProgram* r = SelectedProgram();
  if (!r) return;
  TRenameDialog dialog(registry_, IdentityOf(*r), font_.Get());
  if (dialog.Run(instance_, Handle())) actions_.Execute(kCmdRefresh);
}

void TForm1::ActEditCommentExecute() {
  const TProgram* r = SelectedProgram();
  if (!r) return;
  EditComment(IdentityOf(*r));
}

void TForm1::EditComment(const EntryIdentity& entry) {
  TEditCommentDialog dialog(registry_, entry, font_.Get());
  if (dialog.Run(instance_, Handle())) actions_.Execute(kCmdRefresh);
}

}  // namespace orv
