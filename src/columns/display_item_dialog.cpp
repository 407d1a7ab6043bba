#include "columns/display_item_dialog.h"

#include <commctrl.h>

#include <string>

#include "columns/display_item_dialog_ids.h"
#include "platform/win32/wide.h"

namespace orv {

bool TDispItemSettingDialog::Execute(HINSTANCE instance, HWND owner) {
  return ShowModal(instance, IDD_DISPLAY_ITEM_DIALOG, owner) == IDOK;
}

void TDispItemSettingDialog::OnInit() {
  list_ = Item(IDC_DISP_LIST);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  ListView_InsertColumn(list_, 0, &column);
  const int count = static_cast<int>(items_.Rows().size());
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = const_cast<wchar_t*>(L"");
    ListView_InsertItem(list_, &item);
    ShowRow(i);
  }
  SetItemText(IDC_DISP_WIDTH, "");

  RECT client{};
  GetClientRect(Handle(), &client);
  designedClient_ = {client.right, client.bottom};
  for (int id : {IDC_DISP_LIST, IDC_DISP_UP, IDC_DISP_DOWN, IDC_DISP_WIDTH_LABEL, IDC_DISP_WIDTH,
                 IDC_DISP_BEVEL, IDOK, IDCANCEL}) {
    RECT rect{};
    GetWindowRect(Item(id), &rect);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
    anchored_.push_back({id, rect});
  }
  Layout();
}

void TDispItemSettingDialog::ShowRow(int index) {
  const DisplayItemRow& row = items_.Rows()[static_cast<std::size_t>(index)];
  std::wstring caption = Widen(row.caption);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = index;
  item.pszText = caption.data();
  item.lParam = row.id;
  ListView_SetItem(list_, &item);
  ListView_SetCheckState(list_, index, row.checked ? TRUE : FALSE);
}

int TDispItemSettingDialog::SelectedRow() const {
  return ListView_GetNextItem(list_, -1, LVNI_SELECTED);
}

void TDispItemSettingDialog::SelectRow(int index) {
  ListView_SetItemState(list_, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list_, index, FALSE);
}

void TDispItemSettingDialog::ReadChecks() {
  for (int i = 0, n = static_cast<int>(items_.Rows().size()); i < n; ++i)
    items_.SetChecked(i, ListView_GetCheckState(list_, i) != FALSE);
}

void TDispItemSettingDialog::Move(bool up) {
  const int from = SelectedRow();
  ReadChecks();
  const int to = up ? items_.MoveUp(from) : items_.MoveDown(from);
  if (to == from) return;
  ShowRow(from);
  ShowRow(to);
  SelectRow(to);
}

void TDispItemSettingDialog::CheckListBox1Click() {
  const int row = SelectedRow();
  showingWidth_ = true;
  SetItemText(IDC_DISP_WIDTH,
              row < 0 ? std::string()
                      : std::to_string(setting_.Items(items_.Rows()[static_cast<std::size_t>(row)].id).Width));
  showingWidth_ = false;
}

void TDispItemSettingDialog::Edit1Change() {
  if (showingWidth_) return;
  const int row = SelectedRow();
  if (row < 0) return;
  // Straight into the model, OK or not; text that is no width leaves it as it was.
  if (std::optional<int> width = ParseColumnWidth(ItemText(IDC_DISP_WIDTH)))
    setting_.Items(items_.Rows()[static_cast<std::size_t>(row)].id).Width = *width;
}

void TDispItemSettingDialog::Button3Click() {
  ReadChecks();
  items_.ApplyTo(setting_);
  End(IDOK);
}

bool TDispItemSettingDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDC_DISP_UP: Move(true); return true;
    case IDC_DISP_DOWN: Move(false); return true;
    case IDC_DISP_WIDTH:
      if (code == EN_CHANGE) Edit1Change();
      return true;
    case IDOK: Button3Click(); return true;
    default: return false;
  }
}

INT_PTR TDispItemSettingDialog::OnMessage(UINT message, WPARAM, LPARAM lParam, bool& handled) {
  switch (message) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->hwndFrom == list_ && header->code == LVN_ITEMCHANGED) {
        auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
          CheckListBox1Click();
      }
      break;
    }
    case WM_SIZE: Layout(); break;
    case WM_GETMINMAXINFO:
      if (designedClient_.cx > 0) {
        RECT frame{0, 0, designedClient_.cx, designedClient_.cy};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
        handled = true;
      }
      break;
    default: break;
  }
  return 0;
}

void TDispItemSettingDialog::Layout() {
  if (anchored_.empty()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  const int dx = client.right - designedClient_.cx, dy = client.bottom - designedClient_.cy;
  for (const Anchored& a : anchored_) {
    RECT r = a.designed;
    switch (a.id) {
      case IDC_DISP_LIST: r.right += dx; r.bottom += dy; break;            // grows both ways
      case IDC_DISP_UP: case IDC_DISP_DOWN: OffsetRect(&r, dx, 0); break;  // top right
      case IDC_DISP_WIDTH_LABEL: case IDC_DISP_WIDTH: OffsetRect(&r, 0, dy); break;  // bottom left
      case IDC_DISP_BEVEL: r.right += dx; OffsetRect(&r, 0, dy); break;
      default: OffsetRect(&r, dx, dy); break;                              // OK, cancel
    }
    MoveWindow(Item(a.id), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
  RECT inside{};
  GetClientRect(list_, &inside);
  ListView_SetColumnWidth(list_, 0, inside.right);
  InvalidateRect(Handle(), nullptr, TRUE);
}

}  // namespace orv
