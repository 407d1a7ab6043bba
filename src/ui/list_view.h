// A report-style list view, not owned: one-line methods named after the messages they send,
// text in UTF-8.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace orv::ui {

class ListView {
 public:
  explicit ListView(HWND list = nullptr) : list_(list) {}
  HWND Handle() const { return list_; }
  HWND Header() const { return ListView_GetHeader(list_); }

  void SetExtendedStyle(DWORD mask, DWORD style) const {
    ListView_SetExtendedListViewStyleEx(list_, mask, style);
  }
  // A column at the end, `width` in pixels.
  int AddColumn(const std::string& caption, int width) const;
  void DeleteAllColumns() const;
  int ColumnCount() const { return Header_GetItemCount(Header()); }
  int ColumnWidth(int column) const { return ListView_GetColumnWidth(list_, column); }
  void SetColumnWidth(int column, int width) const { ListView_SetColumnWidth(list_, column, width); }

  int ItemCount() const { return ListView_GetItemCount(list_); }
  // A row at the end with its cells left to right; its index, or -1.
  int AddRow(const std::vector<std::string>& cells, LPARAM data) const;
  // Every row anew, without redrawing in between; each row's data is its index.
  void ReplaceRows(const std::vector<std::vector<std::string>>& rows) const;
  void SetItem(int item, const std::string& text, LPARAM data) const;
  void DeleteAllItems() const { ListView_DeleteAllItems(list_); }
  // The data of a row; `fallback` for none.
  LPARAM ItemData(int item, LPARAM fallback = -1) const;
  std::wstring ItemTextWide(int item, int subItem) const;
  bool Checked(int item) const { return ListView_GetCheckState(list_, item) != FALSE; }
  void SetChecked(int item, bool checked) const { ListView_SetCheckState(list_, item, checked ? TRUE : FALSE); }

  // The first selected row, or -1.
  int Selected() const { return ListView_GetNextItem(list_, -1, LVNI_SELECTED); }
  int Focused() const { return ListView_GetNextItem(list_, -1, LVNI_FOCUSED); }
  // Selects and focuses one row and makes it the selection mark.
  void Select(int item) const;
  // Unselects and unfocuses the selected and the focused row, row by row: "every item" (-1)
  // makes the list visit, and redraw, all its rows.
  void ClearSelection() const;
  void EnsureVisible(int item, bool partlyIsEnough) const {
    ListView_EnsureVisible(list_, item, partlyIsEnough ? TRUE : FALSE);
  }

 private:
  HWND list_;
};

// Stops a window's redrawing for its lifetime and repaints it whole at the end.
class NoRedraw {
 public:
  explicit NoRedraw(HWND window, bool erase = true);
  ~NoRedraw();
  NoRedraw(const NoRedraw&) = delete;
  NoRedraw& operator=(const NoRedraw&) = delete;

 private:
  HWND window_;
  bool erase_;
};

}  // namespace orv::ui
