#include "annotations/edit_comment_dialog.h"

#include "annotations/comment_entry.h"
#include "annotations/edit_comment_dialog_ids.h"

namespace orv {

TEditCommentDialog::TEditCommentDialog(Registry& registry, EntryIdentity entry, HFONT font)
    : TEntryEditDialog(registry, std::move(entry), font, IDD_EDITCOMMENT,
                       {IDC_EDITCOMMENT_TEXT, IDC_EDITCOMMENT_LABEL}) {}

void TEditCommentDialog::OnPrepare() {
  Unlimited(IDC_EDITCOMMENT_TEXT);  // a note of any length
  RECT window{};
  GetWindowRect(Handle(), &window);
  minimum_ = {window.right - window.left, window.bottom - window.top};
  // The edit stretches; both buttons keep their distance to the right edge.
  layout_.Begin(Handle());
  layout_.Add(IDC_EDITCOMMENT_LABEL, ui::kAnchorTopLeft);
  layout_.Add(IDC_EDITCOMMENT_TEXT, ui::kAnchorTopLeft | ui::kAnchorRight);
  layout_.Add(IDOK, ui::kAnchorTop | ui::kAnchorRight);
  layout_.Add(IDCANCEL, ui::kAnchorTop | ui::kAnchorRight);
}

bool TEditCommentDialog::ReadEntry() {
  const CommentStart start = ReadCommentStart(registry_, entry_);
  if (!start.opened) return false;
  SetItemText(IDC_EDITCOMMENT_TEXT, start.comment);
  return true;
}

EntryEditResult TEditCommentDialog::WriteEntry() {
  return WriteComment(registry_, entry_, ItemText(IDC_EDITCOMMENT_TEXT));
}

ui::Answer TEditCommentDialog::OnDialogMessage(UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: layout_.Apply(); return TRUE;
    case WM_GETMINMAXINFO:
      if (!minimum_.cx) return {};  // before the dialog knows its size
      ui::SetMinimumTrackSize(Handle(), lParam, minimum_);
      // One line: it grows in width only.
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMaxTrackSize.y = minimum_.cy;
      return TRUE;
    default: return {};
  }
}

}  // namespace orv
