// Sizes at 96 DPI scaled to a window's DPI, and windows kept on their monitor.
#pragma once
#include <windows.h>

namespace orv::ui {

// 96-DPI layout constants scaled to the window's DPI.
inline int Scale(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), 96); }
// A size in pixels at `dpi` back to 96 DPI, as the settings keep it.
inline int Unscale(int pixels, UINT dpi) { return MulDiv(pixels, 96, static_cast<int>(dpi)); }
UINT WindowDpi(HWND window);

// The work area of the monitor `window` is on (or nearest to).
RECT WorkAreaOf(HWND window);
// Shrinks `window` to the work area of the monitor `anchor` is on where it is larger, and moves
// it onto that monitor where it hangs over an edge. `anchor` null: the window's own monitor.
void FitToWorkArea(HWND window, HWND anchor);
// Centres `window` on `owner` and then fits it as above.
void CenterOnOwner(HWND window, HWND owner);

}  // namespace orv::ui
