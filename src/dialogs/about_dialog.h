// The version dialog: icon, name, version from the version resource, copyright, home page.
#pragma once
#include <windows.h>

#include <string>

#include "ui/modal_dialog.h"

namespace orv {

class TAboutDialog : public ui::ModalDialog {
 public:
  // `font` is the main window's font; the dialog copies it and makes its own bold one.
  explicit TAboutDialog(HFONT font) : font_(font) {}
  ~TAboutDialog() override;
  void Execute(HINSTANCE instance, HWND owner);

  // The running executable's "FileVersion", or the empty text.
  static std::string ReadFileVersion();

 private:
  void OnInit() override;
  bool OnCommand(int id, int code) override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  void FormCreate();
  void Label4Click();
  void Place(int id, int x, int y, int width, int height);

  HINSTANCE instance_ = nullptr;
  HFONT font_;
  HFONT boldFont_ = nullptr;
  HFONT linkFont_ = nullptr;
  HICON icon_ = nullptr;
};

}  // namespace orv
