// A dialog from a resource template: one static procedure stores `this` at WM_INITDIALOG and
// lets no exception cross into Windows.
#pragma once
#include <windows.h>

#include <string>

namespace orv::ui {

class Dialog {
 public:
  Dialog() = default;
  virtual ~Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  HWND Handle() const { return handle_; }

 protected:
  // Runs the template modally inside a ModalScope; the code given to EndDialog, or -1.
  INT_PTR RunModal(HINSTANCE instance, int templateId, HWND owner);
  // Creates the template modeless; null on failure.
  HWND CreateModeless(HINSTANCE instance, int templateId, HWND owner);
  // TRUE when the message was handled; the result goes through DWLP_MSGRESULT where needed.
  virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // The window is gone: nothing of it may be used any more. A modeless owner frees itself here.
  virtual void WindowDestroyed() {}

  HWND handle_ = nullptr;

 private:
  static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// A copy of a font, optionally bold or underlined; the caller deletes it.
HFONT CopyFont(HFONT font, bool bold = false, bool underline = false);
// Sets the font on every control of a window, also inside nested child dialogs.
void SetFontOfChildren(HWND window, HFONT font);
std::string GetWindowTextUtf8(HWND window);
// The system's description of an error code ("" when it has none).
std::string SystemErrorText(unsigned long code);
// Centres a window on another (its owner).
void CenterOn(HWND window, HWND owner);

}  // namespace orv::ui
