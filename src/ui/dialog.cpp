#include "ui/dialog.h"

#include "ui/window.h"

namespace orv::ui {

INT_PTR Dialog::ShowModal(HINSTANCE instance, HWND owner, int templateId) {
  ModalScope modal;
  INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
  return result == -1 ? IDCANCEL : result;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->handle_ = dialog;
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  }
  if (!self) return FALSE;
  INT_PTR result = FALSE;
  Guarded(dialog, [&] { result = self->Dispatch(message, wParam, lParam); });
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    self->handle_ = nullptr;
  }
  return result;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = FALSE;
  if (OnMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(); return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (OnCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return TRUE;
      if (id == IDOK || id == IDCANCEL) {
        End(id);
        return TRUE;
      }
      return FALSE;
    }
    default: return FALSE;
  }
}

}  // namespace orv::ui
