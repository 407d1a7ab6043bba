#include "annotations/rename_dialog.h"

#include <commctrl.h>

#include "annotations/rename_dialog_ids.h"
#include "annotations/rename_entry.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide.h"
#include "ui/dialog_helpers.h"
#include "ui/window.h"

namespace orv {

TRenameDialog::~TRenameDialog() {
  if (font_) DeleteObject(font_);
}

bool TRenameDialog::Run(HINSTANCE instance, HWND owner) {
  return ShowModal(instance, IDD_RENAME, owner) == IDOK;
}

bool TRenameDialog::OnCommand(int id, int) {
  switch (id) {
    case IDC_RENAME_RESTORE: Button3Click(); return true;
    case IDOK: Button2Click(); return true;
    default: return false;
  }
}

INT_PTR TRenameDialog::OnMessage(UINT message, WPARAM, LPARAM, bool& handled) {
  handled = false;
  if (message == WM_DESTROY && hint_) {
    DestroyWindow(hint_);
    hint_ = nullptr;
  }
  return 0;
}

void TRenameDialog::FormCreate() {
  font_ = ui::CopyFont(ownerFont_);
  ApplyFont(font_);
  SendMessageW(Item(IDC_RENAME_NEWNAME), EM_SETLIMITTEXT, 0, 0);  // a name of any length
  // The restore button has no caption: its hint says what it does.
  hint_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                          Handle(), nullptr, nullptr, nullptr);
  if (hint_) {
    std::wstring text = Widen("元の名前に戻す");
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(Item(IDC_RENAME_RESTORE));
    tool.lpszText = text.data();
    SendMessageW(hint_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  const RenameStart start = ReadRenameStart(registry_, entry_);
  if (!start.opened) {
    ui::MessageBoxUtf8(Handle(), std::string(kEntryGoneMessage), "エラー", MB_OK | MB_ICONERROR);
    for (int id : {IDOK, IDC_RENAME_NEWNAME, IDC_RENAME_ORIGINALNAME, IDC_RENAME_NEWLABEL,
                   IDC_RENAME_ORIGINALLABEL})
      EnableWindow(Item(id), FALSE);
    return;
  }
  SetItemText(IDC_RENAME_NEWNAME, start.newName);
  SetItemText(IDC_RENAME_ORIGINALNAME, start.originalName);
}

void TRenameDialog::Button3Click() {
  SetItemText(IDC_RENAME_NEWNAME, ItemText(IDC_RENAME_ORIGINALNAME));
}

void TRenameDialog::Button2Click() {
  if (!IsWindowEnabled(Item(IDOK))) return;  // Enter on a disabled dialog
  const EntryEditResult result = ApplyRename(registry_, entry_, ItemText(IDC_RENAME_NEWNAME),
                                             ItemText(IDC_RENAME_ORIGINALNAME));
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
