// The comment dialog: the "Comments" value of one entry.
#pragma once
#include <windows.h>

#include "annotations/entry_edit.h"
#include "ui/modal_dialog.h"

namespace orv {

class TEditCommentDialog : public ui::ModalDialog {
 public:
  // `entry` is the identity taken before the dialog opened; `font` is the main window's.
  TEditCommentDialog(Registry& registry, EntryIdentity entry, HFONT font)
      : registry_(registry), entry_(std::move(entry)), ownerFont_(font) {}
  ~TEditCommentDialog() override;
  // True when closed with OK (the main window then rescans).
  bool Run(HINSTANCE instance, HWND owner);

 private:
  void OnInit() override { FormCreate(); }
  bool OnCommand(int id, int code) override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  void FormCreate();
  void Button2Click();
  void FormResize();

  Registry& registry_;
  EntryIdentity entry_;
  HFONT ownerFont_;
  HFONT font_ = nullptr;
  SIZE minimum_{};
  RECT designClient_{};
};

}  // namespace orv
