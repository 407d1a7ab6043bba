// Sections "Option" and "FormPos": the view options and the window's size; the staged save
// that every section of the settings file goes through.
#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/view_settings.h"
#include "platform/win32/staged_ini.h"
#include "platform/win32/win32_ini.h"
#include "ui/dpi.h"

namespace orv {

void TForm1::LoadSettings(const std::string& path) {
  Win32Ini ini(path);
  // The file holds 96-DPI sizes; the window shows them at its own DPI.
  const ViewSettings s = LoadViewSettings(ini, ui::Unscale(GetSystemMetrics(SM_CXSCREEN), dpi_),
                                          ui::Unscale(GetSystemMetrics(SM_CYSCREEN), dpi_));
  actions_.SetChecked(kCmdStngLoadIcon, s.loadIcon);
  actions_.SetChecked(kCmdStngStripe, s.stripe);
  actions_.SetChecked(kCmdStngGridLine, s.gridLine);
  actions_.SetChecked(kCmdStngSysComp, s.showSysComp);
  stripeColor_ = s.stripeColor;
  InvalidateRect(programList_, nullptr, TRUE);
  ApplyGridLines();
  // Centred on the screen at the stored size, within the work area; the position itself is
  // never stored.
  const int width = ui::Scale(s.width, dpi_), height = ui::Scale(s.height, dpi_);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(Handle(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  ui::FitToWorkArea(Handle(), nullptr);
  startMaximized_ = s.maximized;
}

void TForm1::SaveSettings() {
  ViewSettings s;
  s.loadIcon = actions_.IsChecked(kCmdStngLoadIcon);
  s.stripe = actions_.IsChecked(kCmdStngStripe);
  s.gridLine = actions_.IsChecked(kCmdStngGridLine);
  s.showSysComp = actions_.IsChecked(kCmdStngSysComp);
  // The placement knows the normal size and whether the window returns maximised, also while
  // it is minimised.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(Handle(), &placement);
  s.maximized = placement.showCmd == SW_SHOWMAXIMIZED ||
                (IsIconic(Handle()) && (placement.flags & WPF_RESTORETOMAXIMIZED));
  const RECT& normal = placement.rcNormalPosition;
  s.width = ui::Unscale(normal.right - normal.left, dpi_);
  s.height = ui::Unscale(normal.bottom - normal.top, dpi_);
  SaveSections([&](IniProfile& ini) { SaveViewSettings(ini, s); });
}

void TForm1::SaveSections(const std::function<void(IniProfile&)>& save) const {
  StagedIni ini(iniPath_);
  save(ini);
  ini.Commit();
}

}  // namespace orv
