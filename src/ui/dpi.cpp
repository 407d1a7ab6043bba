#include "ui/dpi.h"

#include <algorithm>

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

RECT WorkAreaOf(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
    return monitor.rcWork;
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return screen;
}

void FitToWorkArea(HWND window, HWND anchor) {
  RECT self{};
  if (!GetWindowRect(window, &self)) return;
  const RECT work = WorkAreaOf(anchor ? anchor : window);
  const int w = std::min<int>(self.right - self.left, work.right - work.left);
  const int h = std::min<int>(self.bottom - self.top, work.bottom - work.top);
  const int x = std::max<int>(work.left, std::min<int>(self.left, work.right - w));
  const int y = std::max<int>(work.top, std::min<int>(self.top, work.bottom - h));
  if (x == self.left && y == self.top && w == self.right - self.left && h == self.bottom - self.top) return;
  // A smaller size reaches the window's layout through WM_SIZE.
  SetWindowPos(window, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CenterOnOwner(HWND window, HWND owner) {
  RECT self{}, area{};
  if (owner && GetWindowRect(window, &self) && GetWindowRect(owner, &area)) {
    const int w = self.right - self.left, h = self.bottom - self.top;
    SetWindowPos(window, nullptr, area.left + (area.right - area.left - w) / 2,
                 area.top + (area.bottom - area.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // On the owner's monitor even when the owner hangs over its edge.
  FitToWorkArea(window, owner);
}

}  // namespace orv::ui
