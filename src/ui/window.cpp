#include "ui/window.h"

#include "platform/win32/wide.h"

namespace orv::ui {

UINT WindowDpi(HWND window) {
  // GetDpiForWindow exists from Windows 10 1607; older systems report the screen's DPI.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static auto fn = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (fn && window) {
    UINT dpi = fn(window);
    if (dpi) return dpi;
  }
  HDC dc = GetDC(nullptr);
  UINT dpi = static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSY));
  ReleaseDC(nullptr, dc);
  return dpi ? dpi : 96;
}

namespace {
int modalDepth = 0;  // the UI thread's only
}  // namespace

ModalScope::ModalScope() { ++modalDepth; }
ModalScope::~ModalScope() { --modalDepth; }
bool ModalScope::Active() { return modalDepth > 0; }

int MessageBoxUtf8(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
  ModalScope modal;
  return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), flags);
}

void SetWindowTextUtf8(HWND window, const std::string& text) {
  SetWindowTextW(window, Widen(text).c_str());
}

}  // namespace orv::ui
