// The display-item dialog: which optional columns show, in which order, how wide.
#pragma once
#include <windows.h>

#include "columns/column_model.h"
#include "columns/display_items.h"
#include "ui/anchor_layout.h"
#include "ui/list_view.h"
#include "ui/window.h"

namespace orv {

class TDispItemSettingDialog : public ui::ModalDialog {
 public:
  // Edits `setting` directly: widths as they are typed, order and check marks on OK.
  explicit TDispItemSettingDialog(TLvColumnSetting& setting) : setting_(setting), items_(setting) {}
  bool Execute(HINSTANCE instance, HWND owner);

 private:
  void OnInit() override;
  bool OnCommand(int id, int code) override;
  ui::Answer OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void ShowRow(int index);
  void ReadChecks();
  void Move(bool up);
  void ItemListClick();
  void WidthEditChange();
  void OkButtonClick();
  void Layout();

  TLvColumnSetting& setting_;
  DisplayItemList items_;
  ui::ListView list_;
  bool showingWidth_ = false;
  ui::AnchorLayout layout_;
  SIZE minimum_{};
};

}  // namespace orv
