// Sections "Option" and "FormPos": the view options and the window's size.
#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/view_settings.h"
#include "platform/win32/win32_ini.h"

namespace orv {

void TForm1::LoadSettings(const std::string& path) {
  Win32Ini ini(path);
  const ViewSettings s =
      LoadViewSettings(ini, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  actions_.SetChecked(kCmdStngLoadIcon, s.loadIcon);
  actions_.SetChecked(kCmdStngStripe, s.stripe);
  actions_.SetChecked(kCmdStngGridLine, s.gridLine);
  actions_.SetChecked(kCmdStngSysComp, s.showSysComp);
  stripeColor_ = s.stripeColor;
  InvalidateRect(programList_, nullptr, TRUE);
  ApplyGridLines();
  // Centred on the screen at the stored size; the position itself is never stored.
  const int x = (GetSystemMetrics(SM_CXSCREEN) - s.width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - s.height) / 2;
  SetWindowPos(handle_, nullptr, x, y, s.width, s.height, SWP_NOZORDER | SWP_NOACTIVATE);
  startMaximized_ = s.maximized;
}

void TForm1::SaveSettings(const std::string& path) {
  Win32Ini ini(path);
  ViewSettings s;
  s.loadIcon = actions_.IsChecked(kCmdStngLoadIcon);
  s.stripe = actions_.IsChecked(kCmdStngStripe);
  s.gridLine = actions_.IsChecked(kCmdStngGridLine);
  s.showSysComp = actions_.IsChecked(kCmdStngSysComp);
  s.maximized = IsZoomed(handle_) != FALSE;
  RECT outer{};
  GetWindowRect(handle_, &outer);
  s.width = outer.right - outer.left;
  s.height = outer.bottom - outer.top;
  SaveViewSettings(ini, s);
}

}  // namespace orv
