// The clipboard as text.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace orv::ui {

// Puts `text` (UTF-8) on the clipboard as Unicode text; false when the clipboard refused it.
bool CopyTextToClipboard(HWND owner, const std::string& text);
// The same for text that is already wide, such as a control's.
bool CopyTextToClipboard(HWND owner, std::wstring_view text);

}  // namespace orv::ui
