// A window's text as the program holds text: UTF-8.
#pragma once
#include <windows.h>

#include <string>

namespace orv::ui {

void SetWindowTextUtf8(HWND window, const std::string& text);
std::string WindowTextUtf8(HWND window);
// The same, wide, for text that goes back to a control as it came.
std::wstring WindowTextWide(HWND window);

}  // namespace orv::ui
