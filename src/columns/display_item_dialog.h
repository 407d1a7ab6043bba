// The display-item dialog: which optional columns show, in which order, how wide.
#pragma once
#include <windows.h>

#include <optional>
#include <vector>

#include "columns/column_model.h"
#include "columns/display_items.h"
#include "ui/modal_dialog.h"

namespace orv {

class TDispItemSettingDialog : public ui::ModalDialog {
 public:
  // Edits `setting` directly: widths as they are typed, order and check marks on OK.
  explicit TDispItemSettingDialog(TLvColumnSetting& setting) : setting_(setting), items_(setting) {}
  bool Execute(HINSTANCE instance, HWND owner);

 private:
  void OnInit() override;
  bool OnCommand(int id, int code) override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  void ShowRow(int index);
  int SelectedRow() const;
  void SelectRow(int index);
  void ReadChecks();
  void Move(bool up);
  void CheckListBox1Click();
  void Edit1Change();
  void Button3Click();
  void Layout();

  TLvColumnSetting& setting_;
  DisplayItemList items_;
  HWND list_ = nullptr;
  bool showingWidth_ = false;
  // Where each control stood in the designed client area, to follow resizing.
  struct Anchored {
    int id;
    RECT designed;
  };
  std::vector<Anchored> anchored_;
  SIZE designedClient_{};
};

}  // namespace orv
