#include "ui/tooltips.h"

#include <commctrl.h>

#include "platform/win32/wide.h"

namespace orv::ui {
namespace {

TTTOOLINFOW ToolOf(HWND control) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  GetWindowRect(control, &tool.rect);
  MapWindowPoints(nullptr, tool.hwnd, reinterpret_cast<POINT*>(&tool.rect), 2);
  return tool;
}

}  // namespace

void Tooltips::Add(HWND control, const std::string& hint) {
  if (!control || hint.empty()) return;
  if (!tooltip_ || !IsWindow(tooltip_))
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               0, 0, 0, 0, GetAncestor(control, GA_ROOT), nullptr, nullptr, nullptr);
  if (!tooltip_) return;
  std::wstring text = Widen(hint);
  TTTOOLINFOW tool = ToolOf(control);
  tool.lpszText = text.data();
  if (SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) controls_.push_back(control);
}

void Tooltips::Follow() const {
  if (!tooltip_) return;
  for (HWND control : controls_) {
    if (!IsWindow(control)) continue;
    TTTOOLINFOW tool = ToolOf(control);
    SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

}  // namespace orv::ui
