#include "ui/dialog_helpers.h"

namespace orv::ui {

HFONT CopyFont(HFONT font, bool bold, bool underline) {
  LOGFONTW log{};
  if (!font || !GetObjectW(font, sizeof log, &log)) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    log = metrics.lfMessageFont;
  }
  if (bold) log.lfWeight = FW_BOLD;
  if (underline) log.lfUnderline = TRUE;
  return CreateFontIndirectW(&log);
}

void SetFontOfChildren(HWND window, HFONT font) {
  EnumChildWindows(
      window,
      [](HWND child, LPARAM value) -> BOOL {
        SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(value), FALSE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(font));
}

}  // namespace orv::ui
