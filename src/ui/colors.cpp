#include "ui/colors.h"

namespace orv::ui {

COLORREF ColorToRgb(std::uint32_t color) {
  if (color == 0x1FFFFFFFu) return GetSysColor(COLOR_BTNFACE);
  return (color & 0xFF000000u) == 0xFF000000u ? GetSysColor(static_cast<int>(color & 0xFF))
                                              : static_cast<COLORREF>(color & 0x00FFFFFFu);
}

namespace colors {
COLORREF DialogBackground() { return GetSysColor(COLOR_BTNFACE); }
HBRUSH DialogBackgroundBrush() { return GetSysColorBrush(COLOR_BTNFACE); }
COLORREF LinkText() { return RGB(0, 0, 255); }
COLORREF HotLinkText() { return RGB(255, 0, 0); }
COLORREF PlainText() { return RGB(0, 0, 0); }
COLORREF DisabledText() { return GetSysColor(COLOR_GRAYTEXT); }
COLORREF ListBackground(bool selected) { return GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW); }
COLORREF ListText(bool selected) { return GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT); }
COLORREF TextOnDark() { return RGB(255, 255, 255); }
COLORREF SwatchFrame() { return RGB(0, 0, 0); }
COLORREF NoTagSwatch() { return GetSysColor(COLOR_BTNFACE); }
std::uint32_t SortMarkPixel() { return OpaquePixel(RGB(128, 128, 128)); }
}  // namespace colors

std::uint32_t OpaquePixel(COLORREF color) {
  return 0xFF000000u | (std::uint32_t{GetRValue(color)} << 16) | (std::uint32_t{GetGValue(color)} << 8) |
         GetBValue(color);
}

}  // namespace orv::ui
