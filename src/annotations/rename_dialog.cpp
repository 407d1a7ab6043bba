#include "annotations/rename_dialog.h"

#include <commctrl.h>

#include "annotations/rename_dialog_ids.h"
#include "annotations/rename_entry.h"
#include "platform/win32/wide.h"
#include "ui/window.h"

namespace orv {

TRenameDialog::~TRenameDialog() {
  if (font_) DeleteObject(font_);
}

bool TRenameDialog::ShowModal(HINSTANCE instance, HWND owner) {
  return RunModal(instance, IDD_RENAME, owner) == IDOK;
}

INT_PTR TRenameDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      FormCreate();
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_RENAME_RESTORE: Button3Click(); return TRUE;
        case IDOK: Button2Click(); return TRUE;
        case IDCANCEL: EndDialog(handle_, IDCANCEL); return TRUE;
        default: break;
      }
      break;
    case WM_DESTROY:
      if (hint_) DestroyWindow(hint_);
      hint_ = nullptr;
      break;
    default: break;
  }
  return FALSE;
}

void TRenameDialog::FormCreate() {
  font_ = ui::CopyFont(ownerFont_);
  ui::SetFontOfChildren(handle_, font_);
  ui::CenterOn(handle_, GetWindow(handle_, GW_OWNER));
  // The restore button has no caption: its hint says what it does.
  hint_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                          handle_, nullptr, nullptr, nullptr);
  if (hint_) {
    std::wstring text = Widen("元の名前に戻す");
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = handle_;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(handle_, IDC_RENAME_RESTORE));
    tool.lpszText = text.data();
    SendMessageW(hint_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  const RenameStart start = ReadRenameStart(registry_, entry_);
  if (!start.opened) {
    ui::MessageBoxUtf8(handle_, std::string(kEntryGoneMessage), "エラー", MB_OK | MB_ICONERROR);
    for (int id : {IDOK, IDC_RENAME_NEWNAME, IDC_RENAME_ORIGINALNAME, IDC_RENAME_NEWLABEL,
                   IDC_RENAME_ORIGINALLABEL})
      EnableWindow(GetDlgItem(handle_, id), FALSE);
    return;
  }
  ui::SetWindowTextUtf8(GetDlgItem(handle_, IDC_RENAME_NEWNAME), start.newName);
  ui::SetWindowTextUtf8(GetDlgItem(handle_, IDC_RENAME_ORIGINALNAME), start.originalName);
}

void TRenameDialog::Button3Click() {
  ui::SetWindowTextUtf8(GetDlgItem(handle_, IDC_RENAME_NEWNAME),
                        ui::GetWindowTextUtf8(GetDlgItem(handle_, IDC_RENAME_ORIGINALNAME)));
}

void TRenameDialog::Button2Click() {
  if (!IsWindowEnabled(GetDlgItem(handle_, IDOK))) return;  // Enter on a disabled dialog
  const std::string newName = ui::GetWindowTextUtf8(GetDlgItem(handle_, IDC_RENAME_NEWNAME));
  const std::string originalName =
      ui::GetWindowTextUtf8(GetDlgItem(handle_, IDC_RENAME_ORIGINALNAME));
  const EntryEditResult result = ApplyRename(registry_, entry_, newName, originalName);
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
