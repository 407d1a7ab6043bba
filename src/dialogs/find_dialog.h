// The find dialog: the search text and the case option, preset from the last search.
#pragma once
#include <windows.h>

#include <string>
#include <utility>

#include "ui/window.h"

namespace orv {

class TFindDataDialog : public ui::ModalDialog {
 public:
  // `font` is the main window's font, copied into the dialog.
  TFindDataDialog(HFONT font, std::string text, bool matchCase)
      : font_(font), text_(std::move(text)), matchCase_(matchCase) {}
  // True when closed with OK; Text() and MatchCase() then hold the dialog's values.
  bool Execute(HINSTANCE instance, HWND owner);
  const std::string& Text() const { return text_; }
  bool MatchCase() const { return matchCase_; }

 private:
  void OnInit() override;
  bool OnCommand(int id, int code) override;
  HFONT font_;
  std::string text_;
  bool matchCase_;
};

}  // namespace orv
