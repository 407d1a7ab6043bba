#include "annotations/edit_comment_dialog.h"

#include "annotations/comment_entry.h"
#include "annotations/edit_comment_dialog_ids.h"
#include "ui/window.h"

namespace orv {

TEditCommentDialog::~TEditCommentDialog() {
  if (font_) DeleteObject(font_);
}

bool TEditCommentDialog::ShowModal(HINSTANCE instance, HWND owner) {
  return RunModal(instance, IDD_EDITCOMMENT, owner) == IDOK;
}

INT_PTR TEditCommentDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      FormCreate();
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: Button2Click(); return TRUE;
        case IDCANCEL: EndDialog(handle_, IDCANCEL); return TRUE;
        default: break;
      }
      break;
    case WM_SIZE: FormResize(); return TRUE;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {minimum_.cx, minimum_.cy};
      info->ptMaxTrackSize.y = minimum_.cy;  // one line: it grows in width only
      return TRUE;
    }
    default: break;
  }
  return FALSE;
}

void TEditCommentDialog::FormCreate() {
  font_ = ui::CopyFont(ownerFont_);
  ui::SetFontOfChildren(handle_, font_);
  RECT window{};
  GetWindowRect(handle_, &window);
  minimum_ = {window.right - window.left, window.bottom - window.top};
  GetClientRect(handle_, &designClient_);
  ui::CenterOn(handle_, GetWindow(handle_, GW_OWNER));
  const CommentStart start = ReadCommentStart(registry_, entry_);
  if (!start.opened) {
    ui::MessageBoxUtf8(handle_, std::string(kEntryGoneMessage), "エラー", MB_OK | MB_ICONERROR);
    for (int id : {IDOK, IDC_EDITCOMMENT_TEXT, IDC_EDITCOMMENT_LABEL})
      EnableWindow(GetDlgItem(handle_, id), FALSE);
    return;
  }
  ui::SetWindowTextUtf8(GetDlgItem(handle_, IDC_EDITCOMMENT_TEXT), start.comment);
}

void TEditCommentDialog::FormResize() {
  if (!designClient_.right) return;
  RECT client{};
  GetClientRect(handle_, &client);
  const int grow = client.right - designClient_.right;
  designClient_.right = client.right;
  // The edit stretches; both buttons keep their distance to the right edge.
  for (int id : {IDC_EDITCOMMENT_TEXT, IDOK, IDCANCEL}) {
    HWND control = GetDlgItem(handle_, id);
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&r), 2);
    if (id == IDC_EDITCOMMENT_TEXT)
      r.right += grow;
    else
      OffsetRect(&r, grow, 0);
    MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
}

void TEditCommentDialog::Button2Click() {
  if (!IsWindowEnabled(GetDlgItem(handle_, IDOK))) return;  // Enter on a disabled dialog
  const std::string comment = ui::GetWindowTextUtf8(GetDlgItem(handle_, IDC_EDITCOMMENT_TEXT));
  const EntryEditResult result = WriteComment(registry_, entry_, comment);
  if (result.status == EntryEditResult::EntryGone)
    ui::MessageBoxUtf8(handle_, std::string(kEntryGoneMessage), "エラー", MB_OK | MB_ICONERROR);
  else if (result.status == EntryEditResult::Failed)
    ui::MessageBoxUtf8(handle_,
                       EntryEditFailureMessage(result, ui::SystemErrorText(result.errorCode)),
                       "エラー", MB_OK | MB_ICONERROR);
  // Closed with OK in every case: the main window rescans and shows what the entry holds.
  EndDialog(handle_, IDOK);
}

}  // namespace orv
