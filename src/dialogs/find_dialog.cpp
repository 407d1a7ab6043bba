#include "dialogs/find_dialog.h"

#include "dialogs/find_dialog_ids.h"
#include "ui/gdi.h"

namespace orv {

bool TFindDataDialog::Execute(HINSTANCE instance, HWND owner) {
  return ShowModal(instance, IDD_FIND_DIALOG, owner) == IDOK;
}

void TFindDataDialog::OnInit() {
  ui::SetFontOfWindow(Handle(), font_);
  SetItemText(IDC_FIND_TEXT, text_);
  CheckDlgButton(Handle(), IDC_FIND_MATCH_CASE, matchCase_ ? BST_CHECKED : BST_UNCHECKED);
  SendMessageW(Item(IDC_FIND_TEXT), EM_SETSEL, 0, -1);
}

bool TFindDataDialog::OnCommand(int id, int) {
  if (id != IDOK) return false;
  text_ = ItemText(IDC_FIND_TEXT);  // as typed, blanks included
  matchCase_ = IsDlgButtonChecked(Handle(), IDC_FIND_MATCH_CASE) == BST_CHECKED;
  End(IDOK);
  return true;
}

}  // namespace orv
