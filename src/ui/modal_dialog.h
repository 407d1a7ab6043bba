// A modal dialog from a resource template: one static dialog procedure that finds the object
// at WM_INITDIALOG and lets no exception cross into Windows.
#pragma once
#include <windows.h>

#include <string>

namespace orv::ui {

class ModalDialog {
 public:
  ModalDialog() = default;
  virtual ~ModalDialog() = default;
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  // Shows the template centred on `owner` inside a ModalScope; answers the id the dialog
  // closed with (IDOK, IDCANCEL). Throws when the dialog cannot be shown.
  INT_PTR ShowModal(HINSTANCE instance, int templateId, HWND owner);

 protected:
  HWND Handle() const { return handle_; }
  HWND Owner() const { return owner_; }
  HWND Item(int id) const { return GetDlgItem(handle_, id); }
  std::string ItemText(int id) const;
  void SetItemText(int id, const std::string& text) const;
  void End(INT_PTR result) { EndDialog(handle_, result); }
  // Every control of the dialog gets this font (the dialog does not own it).
  void ApplyFont(HFONT font) const;

  virtual void OnInit() {}
  // A button or control notification; IDOK and IDCANCEL close the dialog unless handled.
  virtual bool OnCommand(int id, int code) {
    (void)id;
    (void)code;
    return false;
  }
  // Any other message; set `handled` to return the result from the dialog procedure as it
  // stands (a brush for WM_CTLCOLOR*, TRUE after setting DWLP_MSGRESULT for WM_NOTIFY).
  virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    (void)message;
    (void)wParam;
    (void)lParam;
    handled = false;
    return 0;
  }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void CenterOnOwner() const;
  HWND handle_ = nullptr;
  HWND owner_ = nullptr;
};

}  // namespace orv::ui
