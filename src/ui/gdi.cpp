#include "ui/gdi.h"

namespace orv::ui {

HFONT CopyFont(HFONT font, unsigned style) {
  LOGFONTW log{};
  if (!font || !GetObjectW(font, sizeof log, &log)) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    log = metrics.lfMessageFont;
  }
  if (style & kBold) log.lfWeight = FW_BOLD;
  log.lfUnderline = (style & kUnderline) ? TRUE : FALSE;
  return CreateFontIndirectW(&log);
}

HFONT CreateSystemMenuFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  // Windows 10 1607 on can tell the font of a monitor's DPI.
  using ForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static auto forDpi = reinterpret_cast<ForDpiFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
  const bool read = forDpi ? forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi) != FALSE
                           : SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) != FALSE;
  return read ? CreateFontIndirectW(&metrics.lfMenuFont) : nullptr;
}

void SetFontOfWindow(HWND window, HFONT font) {
  if (!font) return;
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  EnumChildWindows(
      window,
      [](HWND child, LPARAM value) -> BOOL {
        SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(value), TRUE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(font));
}

SIZE TextExtent(HWND window, HFONT font, std::wstring_view text) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return size;
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

}  // namespace orv::ui
