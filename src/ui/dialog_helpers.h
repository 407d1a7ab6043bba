// Helpers for dialogs: fonts copied from the main window, texts, error texts, placement.
#pragma once
#include <windows.h>

#include <string>

namespace orv::ui {

// A copy of a font, optionally bold or underlined; the caller deletes it.
HFONT CopyFont(HFONT font, bool bold = false, bool underline = false);
// Sets the font on every control of a window, also inside nested child dialogs.
void SetFontOfChildren(HWND window, HFONT font);
std::string GetWindowTextUtf8(HWND window);
// The system's description of an error code.
std::string SystemErrorText(unsigned long code);
// Centres a window on another (its owner).
void CenterOn(HWND window, HWND owner);

}  // namespace orv::ui
