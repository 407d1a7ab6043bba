// Sections "Option" and "FormPos": the view options and the window's size.
#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/view_settings.h"
#include "platform/win32/staged_ini.h"
#include "platform/win32/win32_ini.h"

namespace orv {

void TForm1::LoadSettings(const std::string& path) {
  Win32Ini ini(path);
  // The file holds 96-DPI sizes; the window shows them at its own DPI.
  const int dpi = static_cast<int>(dpi_);
  const ViewSettings s = LoadViewSettings(ini, MulDiv(GetSystemMetrics(SM_CXSCREEN), 96, dpi),
                                          MulDiv(GetSystemMetrics(SM_CYSCREEN), 96, dpi));
  actions_.SetChecked(kCmdStngLoadIcon, s.loadIcon);
  actions_.SetChecked(kCmdStngStripe, s.stripe);
  actions_.SetChecked(kCmdStngGridLine, s.gridLine);
  actions_.SetChecked(kCmdStngSysComp, s.showSysComp);
  stripeColor_ = s.stripeColor;
  InvalidateRect(programList_, nullptr, TRUE);
  ApplyGridLines();
  // Centred on the screen at the stored size; the position itself is never stored.
  const int width = MulDiv(s.width, dpi, 96), height = MulDiv(s.height, dpi, 96);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(handle_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  startMaximized_ = s.maximized;
}

void TForm1::SaveSettings(const std::string& path) {
  StagedIni ini(path);
  ViewSettings s;
  s.loadIcon = actions_.IsChecked(kCmdStngLoadIcon);
  s.stripe = actions_.IsChecked(kCmdStngStripe);
  s.gridLine = actions_.IsChecked(kCmdStngGridLine);
  s.showSysComp = actions_.IsChecked(kCmdStngSysComp);
  // The placement knows the normal size and whether the window returns maximised, also while
  // it is minimised.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(handle_, &placement);
  s.maximized = placement.showCmd == SW_SHOWMAXIMIZED ||
                (IsIconic(handle_) && (placement.flags & WPF_RESTORETOMAXIMIZED));
  const RECT& normal = placement.rcNormalPosition;
  const int dpi = static_cast<int>(dpi_);
  s.width = MulDiv(normal.right - normal.left, 96, dpi);
  s.height = MulDiv(normal.bottom - normal.top, 96, dpi);
  SaveViewSettings(ini, s);
  ini.Commit();
}

}  // namespace orv
