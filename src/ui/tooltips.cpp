#include "ui/tooltips.h"

#include <commctrl.h>

#include "platform/win32/wide.h"

namespace orv::ui {

void Tooltips::Add(HWND control, const std::string& hint) {
  if (!control || hint.empty()) return;
  HWND owner = GetAncestor(control, GA_ROOT);
  if (!tooltip_ || !IsWindow(tooltip_))
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               0, 0, 0, 0, owner, nullptr, nullptr, nullptr);
  if (!tooltip_) return;
  std::wstring text = Widen(hint);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text.data();
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace orv::ui
