// The comment dialog: the "Comments" value of one entry. It grows in width only.
#pragma once
#include "annotations/entry_edit_dialog.h"
#include "ui/anchor_layout.h"

namespace orv {

class TEditCommentDialog : public TEntryEditDialog {
 public:
  // `entry` is the identity taken before the dialog opened; `font` is the main window's.
  TEditCommentDialog(Registry& registry, EntryIdentity entry, HFONT font);

 private:
  void OnPrepare() override;
  bool ReadEntry() override;
  EntryEditResult WriteEntry() override;
  ui::Answer OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  SIZE minimum_{};
  ui::AnchorLayout layout_;
};

}  // namespace orv
