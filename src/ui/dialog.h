// A modal dialog made from a template: one static procedure keeps `this` from WM_INITDIALOG on,
// and no exception crosses into Windows.
#pragma once
#include <windows.h>

namespace orv::ui {

class Dialog {
 public:
  virtual ~Dialog() = default;
  Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog inside a ModalScope; the value passed to End (IDCANCEL when it failed).
  INT_PTR ShowModal(HINSTANCE instance, HWND owner, int templateId);

 protected:
  virtual void OnInitDialog() {}
  // Command from a control or a button; IDOK and IDCANCEL end the dialog unless handled.
  virtual bool OnCommand(int id, int code, HWND control) {
    (void)id, (void)code, (void)control;
    return false;
  }
  // Any other message; true when handled, with `result` as the answer.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    (void)message, (void)wParam, (void)lParam, (void)result;
    return false;
  }
  HWND Handle() const { return handle_; }
  HWND Item(int id) const { return GetDlgItem(handle_, id); }
  void End(INT_PTR result) { EndDialog(handle_, result); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  HWND handle_ = nullptr;
};

}  // namespace orv::ui
