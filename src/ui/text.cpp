#include "ui/text.h"

#include "platform/win32/wide.h"

namespace orv::ui {

void SetWindowTextUtf8(HWND window, const std::string& text) {
  SetWindowTextW(window, Widen(text).c_str());
}

std::wstring WindowTextWide(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  length = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return text;
}

std::string WindowTextUtf8(HWND window) { return Narrow(WindowTextWide(window)); }

}  // namespace orv::ui
