#include "ui/modal_dialog.h"

#include <algorithm>
#include <stdexcept>

#include "platform/win32/wide.h"
#include "ui/window.h"

namespace orv::ui {

INT_PTR ModalDialog::ShowModal(HINSTANCE instance, int templateId, HWND owner) {
  owner_ = owner;
  ModalScope modal(owner);
  INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
  handle_ = nullptr;
  if (result == -1) throw std::runtime_error("ダイアログを表示できません");
  return result;
}

std::string ModalDialog::ItemText(int id) const {
  HWND item = Item(id);
  int length = GetWindowTextLengthW(item);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  length = GetWindowTextW(item, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return Narrow(text);
}

void ModalDialog::SetItemText(int id, const std::string& text) const {
  SetWindowTextUtf8(Item(id), text);
}

void ModalDialog::ApplyFont(HFONT font) const {
  if (!font) return;
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (HWND child = GetWindow(handle_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void ModalDialog::CenterOnOwner() const {
  RECT self{}, area{};
  GetWindowRect(handle_, &self);
  if (!owner_ || !GetWindowRect(owner_, &area)) return;
  const int w = self.right - self.left, h = self.bottom - self.top;
  int x = area.left + (area.right - area.left - w) / 2;
  int y = area.top + (area.bottom - area.top - h) / 2;
  // Keep it on the owner's monitor even when the owner hangs over its edge.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    x = std::max<int>(work.left, std::min<int>(x, work.right - w));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - h));
  }
  SetWindowPos(handle_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  ModalDialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<ModalDialog*>(lParam);
    self->handle_ = dialog;
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  } else {
    self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  }
  if (!self) return FALSE;
  INT_PTR result = FALSE;
  Guarded(dialog, [&] { result = self->Dispatch(message, wParam, lParam); });
  return result;
}

INT_PTR ModalDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      CenterOnOwner();
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (OnCommand(id, HIWORD(wParam))) return TRUE;
      if (id == IDOK || id == IDCANCEL) {
        End(id);
        return TRUE;
      }
      return FALSE;
    }
    default: {
      bool handled = false;
      INT_PTR result = OnMessage(message, wParam, lParam, handled);
      return handled ? result : FALSE;
    }
  }
}

}  // namespace orv::ui
