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
  ActionList1.SetChecked(kCmdStngLoadIcon, s.loadIcon);
  ActionList1.SetChecked(kCmdStngStripe, s.stripe);
  ActionList1.SetChecked(kCmdStngGridLine, s.gridLine);
  ActionList1.SetChecked(kCmdStngSysComp, s.showSysComp);
  StripeColor = s.stripeColor;
  InvalidateRect(ListView1, nullptr, TRUE);
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
  s.loadIcon = ActionList1.IsChecked(kCmdStngLoadIcon);
  s.stripe = ActionList1.IsChecked(kCmdStngStripe);
  s.gridLine = ActionList1.IsChecked(kCmdStngGridLine);
  s.showSysComp = ActionList1.IsChecked(kCmdStngSysComp);
  s.maximized = IsZoomed(handle_) != FALSE;
  RECT outer{};
  GetWindowRect(handle_, &outer);
  s.width = outer.right - outer.left;
  s.height = outer.bottom - outer.top;
  SaveViewSettings(ini, s);
}

}  // namespace orv
