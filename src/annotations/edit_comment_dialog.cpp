#include "annotations/edit_comment_dialog.h"

#include "annotations/comment_entry.h"
#include "annotations/edit_comment_dialog_ids.h"
#include "platform/win32/system_error.h"
#include "ui/dialog_helpers.h"
#include "ui/window.h"

namespace orv {

TEditCommentDialog::~TEditCommentDialog() {
  if (font_) DeleteObject(font_);
}

bool TEditCommentDialog::Run(HINSTANCE instance, HWND owner) {
  return ShowModal(instance, IDD_EDITCOMMENT, owner) == IDOK;
}

bool TEditCommentDialog::OnCommand(int id, int) {
  if (id != IDOK) return false;
  Button2Click();
  return true;
}

INT_PTR TEditCommentDialog::OnMessage(UINT message, WPARAM, LPARAM lParam, bool& handled) {
  handled = false;
  switch (message) {
    case WM_SIZE:
      FormResize();
      handled = true;
      return TRUE;
    case WM_GETMINMAXINFO: {
      if (!minimum_.cx) return 0;  // before the dialog knows its size
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {minimum_.cx, minimum_.cy};
      info->ptMaxTrackSize.y = minimum_.cy;  // one line: it grows in width only
      handled = true;
      return TRUE;
    }
    default: return 0;
  }
}

void TEditCommentDialog::FormCreate() {
  font_ = ui::CopyFont(ownerFont_);
  ApplyFont(font_);
  SendMessageW(Item(IDC_EDITCOMMENT_TEXT), EM_SETLIMITTEXT, 0, 0);  // a note of any length
  RECT window{};
  GetWindowRect(Handle(), &window);
  minimum_ = {window.right - window.left, window.bottom - window.top};
  GetClientRect(Handle(), &designClient_);
  const CommentStart start = ReadCommentStart(registry_, entry_);
  if (!start.opened) {
    ui::MessageBoxUtf8(Handle(), std::string(kEntryGoneMessage), "エラー", MB_OK | MB_ICONERROR);
    for (int id : {IDOK, IDC_EDITCOMMENT_TEXT, IDC_EDITCOMMENT_LABEL})
      EnableWindow(Item(id), FALSE);
    return;
  }
  SetItemText(IDC_EDITCOMMENT_TEXT, start.comment);
}

void TEditCommentDialog::FormResize() {
  if (!designClient_.right) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  const int grow = client.right - designClient_.right;
  designClient_.right = client.right;
  // The edit stretches; both buttons keep their distance to the right edge.
  for (int id : {IDC_EDITCOMMENT_TEXT, IDOK, IDCANCEL}) {
    HWND control = Item(id);
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    if (id == IDC_EDITCOMMENT_TEXT)
      r.right += grow;
    else
      OffsetRect(&r, grow, 0);
    MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
}

void TEditCommentDialog::Button2Click() {
  if (!IsWindowEnabled(Item(IDOK))) return;  // Enter on a disabled dialog
  const EntryEditResult result = WriteComment(registry_, entry_, ItemText(IDC_EDITCOMMENT_TEXT));
  if (result.status == EntryEditResult::EntryGone)
    ui::MessageBoxUtf8(Handle(), std::string(kEntryGoneMessage), "エラー", MB_OK | MB_ICONERROR);
  else if (result.status == EntryEditResult::Failed)
    ui::MessageBoxUtf8(Handle(),
                       EntryEditFailureMessage(result, SystemErrorText(result.errorCode)),
                       "エラー", MB_OK | MB_ICONERROR);
  // Closed with OK in every case: the main window rescans and shows what the entry holds.
  End(IDOK);
}

}  // namespace orv
