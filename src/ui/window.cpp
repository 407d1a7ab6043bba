#include "ui/window.h"

#include <algorithm>

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
// The UI thread's only.
int modalDepth = 0;
std::vector<HWND> programWindows;
}  // namespace

ModalScope::ModalScope(HWND owner) {
  ++modalDepth;
  HWND ownerRoot = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  for (HWND window : programWindows) {
    if (window == ownerRoot || !IsWindow(window) || !IsWindowEnabled(window)) continue;
    EnableWindow(window, FALSE);
    disabled_.push_back(window);
  }
}

ModalScope::~ModalScope() {
  --modalDepth;
  for (HWND window : disabled_)
    if (IsWindow(window)) EnableWindow(window, TRUE);
}

bool ModalScope::Active() { return modalDepth > 0; }

void ModalScope::AddProgramWindow(HWND window) {
  if (window && std::find(programWindows.begin(), programWindows.end(), window) == programWindows.end())
    programWindows.push_back(window);
}

void ModalScope::RemoveProgramWindow(HWND window) {
  programWindows.erase(std::remove(programWindows.begin(), programWindows.end(), window),
                       programWindows.end());
}

COLORREF ColorToRgb(std::uint32_t color) {
  if (color == 0x1FFFFFFFu) return GetSysColor(COLOR_BTNFACE);
  return (color & 0xFF000000u) == 0xFF000000u ? GetSysColor(static_cast<int>(color & 0xFF))
                                              : static_cast<COLORREF>(color & 0x00FFFFFFu);
}

HBITMAP CreatePixelBitmap(int size, std::uint32_t*& pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  pixels = bitmap ? static_cast<std::uint32_t*>(bits) : nullptr;
  return bitmap;
}

int MessageBoxUtf8(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
  ModalScope modal(owner);
  return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), flags);
}

void SetWindowTextUtf8(HWND window, const std::string& text) {
  SetWindowTextW(window, Widen(text).c_str());
}

}  // namespace orv::ui
