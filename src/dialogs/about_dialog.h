// The version dialog: icon, name, version from the version resource, copyright, home page.
#pragma once
#include <windows.h>

#include <string>

#include "ui/gdi.h"
#include "ui/link_label.h"
#include "ui/window.h"

namespace orv {

class TAboutDialog : public ui::ModalDialog {
 public:
  // `font` is the main window's font; the dialog shows its text in it, the name in bold.
  explicit TAboutDialog(HFONT font);
  ~TAboutDialog() override;
  void Execute(HINSTANCE instance, HWND owner);

  // The running executable's "FileVersion", or the empty text.
  static std::string ReadFileVersion();

 private:
  // The texts, then the size and the places they need.
  void OnInit() override;
  bool OnCommand(int id, int code) override;
  ui::Answer OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void HomePageClick();

  HINSTANCE instance_ = nullptr;
  HFONT font_;
  ui::Font boldFont_;
  ui::LinkLabels links_;
  HICON icon_ = nullptr;
};

}  // namespace orv
