// Every colour the program's windows paint, in one place: a theme changes them here.
#pragma once
#include <windows.h>

#include <cstdint>

namespace orv::ui {

// A colour value as drawing takes it: a system colour reference (high byte 0xFF) becomes the
// system's current colour, the no-colour value 0x1FFFFFFF the button face.
COLORREF ColorToRgb(std::uint32_t color);

namespace colors {
// Dialogs, property pages and everything on them.
COLORREF DialogBackground();
HBRUSH DialogBackgroundBrush();  // a system brush: never deleted
// Link labels: linked, under the mouse, not linked, disabled.
COLORREF LinkText();
COLORREF HotLinkText();
COLORREF PlainText();
COLORREF DisabledText();
// Rows of the tag editor's list, selected or not.
COLORREF ListBackground(bool selected);
COLORREF ListText(bool selected);
// Text on a dark tag colour.
COLORREF TextOnDark();
// The frame around a tag swatch, and the swatch of "no tag".
COLORREF SwatchFrame();
COLORREF NoTagSwatch();
// The header's sort triangles, as 0xAARRGGBB pixels.
std::uint32_t SortMarkPixel();
}  // namespace colors

// 0xAARRGGBB, opaque, for a pixel bitmap.
std::uint32_t OpaquePixel(COLORREF color);

}  // namespace orv::ui
