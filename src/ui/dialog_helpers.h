// Helpers for the program's dialogs: fonts copied from the main window.
#pragma once
#include <windows.h>

namespace orv::ui {

// A copy of a font, optionally bold or underlined; the caller deletes it.
HFONT CopyFont(HFONT font, bool bold = false, bool underline = false);
// Sets the font on every control of a window, also inside nested child dialogs.
void SetFontOfChildren(HWND window, HFONT font);

}  // namespace orv::ui
