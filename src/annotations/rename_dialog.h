// The rename dialog: a new "DisplayName" for one entry, with the original name to restore.
#pragma once
#include "annotations/entry_edit_dialog.h"
#include "ui/tooltips.h"

namespace orv {

class TRenameDialog : public TEntryEditDialog {
 public:
  // `entry` is the identity taken before the dialog opened; `font` is the main window's.
  TRenameDialog(Registry& registry, EntryIdentity entry, HFONT font);

 private:
  void OnPrepare() override;
  bool ReadEntry() override;
  EntryEditResult WriteEntry() override;
  bool OnCommand(int id, int code) override;
  void RestoreButtonClick();

  ui::Tooltips hints_;
};

}  // namespace orv
