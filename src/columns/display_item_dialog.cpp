#include "columns/display_item_dialog.h"

#include <commctrl.h>

#include <string>

#include "columns/display_item_dialog_ids.h"

namespace orv {

bool TDispItemSettingDialog::Execute(HINSTANCE instance, HWND owner) {
  return ShowModal(instance, IDD_DISPLAY_ITEM_DIALOG, owner) == IDOK;
}

void TDispItemSettingDialog::OnInit() {
  list_ = ui::ListView(Item(IDC_DISP_LIST));
  list_.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  list_.AddColumn("", 100);
  for (int i = 0, count = static_cast<int>(items_.Rows().size()); i < count; ++i) {
    list_.AddRow({""}, 0);
    ShowRow(i);
  }
  SetItemText(IDC_DISP_WIDTH, "");

  RECT window{};
  GetWindowRect(Handle(), &window);
  minimum_ = {window.right - window.left, window.bottom - window.top};
  using namespace ui;
  layout_.Begin(Handle());
  layout_.Add(IDC_DISP_LIST, kAnchorAll);
  layout_.Add(IDC_DISP_UP, kAnchorTop | kAnchorRight);
  layout_.Add(IDC_DISP_DOWN, kAnchorTop | kAnchorRight);
  layout_.Add(IDC_DISP_WIDTH_LABEL, kAnchorLeft | kAnchorBottom);
  layout_.Add(IDC_DISP_WIDTH, kAnchorLeft | kAnchorBottom);
  layout_.Add(IDC_DISP_BEVEL, kAnchorLeft | kAnchorRight | kAnchorBottom);
  layout_.Add(IDOK, kAnchorRight | kAnchorBottom);
  layout_.Add(IDCANCEL, kAnchorRight | kAnchorBottom);
  Layout();
}

void TDispItemSettingDialog::ShowRow(int index) {
  const DisplayItemRow& row = items_.Rows()[static_cast<std::size_t>(index)];
  list_.SetItem(index, row.caption, row.id);
  list_.SetChecked(index, row.checked);
}

void TDispItemSettingDialog::ReadChecks() {
  for (int i = 0, n = static_cast<int>(items_.Rows().size()); i < n; ++i) items_.SetChecked(i, list_.Checked(i));
}

void TDispItemSettingDialog::Move(bool up) {
  const int from = list_.Selected();
  ReadChecks();
  const int to = up ? items_.MoveUp(from) : items_.MoveDown(from);
  if (to == from) return;
  ShowRow(from);
  ShowRow(to);
  list_.Select(to);
  list_.EnsureVisible(to, false);
}

void TDispItemSettingDialog::ItemListClick() {
  const int row = list_.Selected();
  showingWidth_ = true;
  SetItemText(IDC_DISP_WIDTH,
              row < 0 ? std::string()
                      : std::to_string(setting_.Items(items_.Rows()[static_cast<std::size_t>(row)].id).Width));
  showingWidth_ = false;
}

void TDispItemSettingDialog::WidthEditChange() {
  if (showingWidth_) return;
  const int row = list_.Selected();
  if (row < 0) return;
  // Straight into the model, OK or not; text that is no width leaves it as it was.
  if (std::optional<int> width = ParseColumnWidth(ItemText(IDC_DISP_WIDTH)))
    setting_.Items(items_.Rows()[static_cast<std::size_t>(row)].id).Width = *width;
}

void TDispItemSettingDialog::OkButtonClick() {
  ReadChecks();
  items_.ApplyTo(setting_);
  End(IDOK);
}

bool TDispItemSettingDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDC_DISP_UP: Move(true); return true;
    case IDC_DISP_DOWN: Move(false); return true;
    case IDC_DISP_WIDTH:
      if (code == EN_CHANGE) WidthEditChange();
      return true;
    case IDOK: OkButtonClick(); return true;
    default: return false;
  }
}

ui::Answer TDispItemSettingDialog::OnDialogMessage(UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->hwndFrom == list_.Handle() && header->code == LVN_ITEMCHANGED) {
        auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
          ItemListClick();
      }
      return {};
    }
    case WM_SIZE: Layout(); return {};
    case WM_GETMINMAXINFO: ui::SetMinimumTrackSize(Handle(), lParam, minimum_); return 0;
    default: return {};
  }
}

void TDispItemSettingDialog::Layout() {
  if (layout_.Empty()) return;
  layout_.Apply();
  RECT inside{};
  GetClientRect(list_.Handle(), &inside);
  list_.SetColumnWidth(0, inside.right);
  InvalidateRect(Handle(), nullptr, TRUE);
}

}  // namespace orv
