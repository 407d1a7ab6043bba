#include "ui/list_view.h"

#include "platform/win32/wide.h"

namespace orv::ui {

int ListView::AddColumn(const std::string& caption, int width) const {
  std::wstring text = Widen(caption);
  const int index = ColumnCount();
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = text.data();
  column.cx = width;
  column.iSubItem = index;
  return ListView_InsertColumn(list_, index, &column);
}

void ListView::DeleteAllColumns() const {
  while (ColumnCount() > 0) ListView_DeleteColumn(list_, 0);
}

int ListView::AddRow(const std::vector<std::string>& cells, LPARAM data) const {
  std::wstring first = Widen(cells.empty() ? "" : cells[0]);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = ItemCount();
  item.pszText = first.data();
  item.lParam = data;
  const int row = ListView_InsertItem(list_, &item);
  if (row < 0) return row;
  for (std::size_t i = 1; i < cells.size(); ++i) {
    std::wstring text = Widen(cells[i]);
    ListView_SetItemText(list_, row, static_cast<int>(i), text.data());
  }
  return row;
}

void ListView::ReplaceRows(const std::vector<std::vector<std::string>>& rows) const {
  NoRedraw quiet(list_);
  DeleteAllItems();
  for (std::size_t i = 0; i < rows.size(); ++i) AddRow(rows[i], static_cast<LPARAM>(i));
}

void ListView::SetItem(int index, const std::string& text, LPARAM data) const {
  std::wstring wide = Widen(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = index;
  item.pszText = wide.data();
  item.lParam = data;
  ListView_SetItem(list_, &item);
}

LPARAM ListView::ItemData(int index, LPARAM fallback) const {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  return index >= 0 && ListView_GetItem(list_, &item) ? item.lParam : fallback;
}

std::wstring ListView::ItemTextWide(int item, int subItem) const {
  std::wstring text(32768, L'\0');
  ListView_GetItemText(list_, item, subItem, text.data(), static_cast<int>(text.size()));
  text.resize(wcslen(text.c_str()));
  return text;
}

void ListView::Select(int item) const {
  ListView_SetItemState(list_, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetSelectionMark(list_, item);
}

void ListView::ClearSelection() const {
  for (int flag : {LVNI_SELECTED, LVNI_FOCUSED}) {
    const int item = ListView_GetNextItem(list_, -1, flag);
    if (item >= 0) ListView_SetItemState(list_, item, 0, LVIS_SELECTED | LVIS_FOCUSED);
  }
}

NoRedraw::NoRedraw(HWND window, bool erase) : window_(window), erase_(erase) {
  SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
}

NoRedraw::~NoRedraw() {
  SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(window_, nullptr, erase_ ? TRUE : FALSE);
}

}  // namespace orv::ui
