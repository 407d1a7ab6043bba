// "タグの設定": edits a working copy of the five tags; OK hands the copy back.
#pragma once
#include <windows.h>

#include <string>

#include "annotations/tag_list.h"
#include "ui/anchor_layout.h"
#include "ui/window.h"

namespace orv {

class TTagEditDialog : public ui::ModalDialog {
 public:
  // `font` is the main window's; the dialog shows its text in it.
  TTagEditDialog(TTagList& tags, HFONT font);
  // IDOK when the caller's tag list now holds the edits.
  INT_PTR ShowModal(HINSTANCE instance, HWND owner);

 private:
  void OnInit() override;
  bool OnCommand(int id, int code) override;
  ui::Answer OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void TagListClick();
  void CaptionEditChange();
  void ColorButtonClick();
  void TagListDrawItem(const DRAWITEMSTRUCT& draw);
  void DrawColorButton(const DRAWITEMSTRUCT& draw);
  void OkButtonClick();
  int SelectedSlot() const;
  std::wstring EntryText(int slot) const;

  TTagList& tags_;
  TTagList workingCopy_;
  HFONT font_;
  const std::string prefix_;  // before each entry's number; empty
  TColor shownColor_ = kBtnFaceColor;
  bool editing_ = false;  // the edit box is being set, not typed in
  ui::AnchorLayout layout_;
};

}  // namespace orv
