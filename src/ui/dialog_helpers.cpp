#include "ui/dialog_helpers.h"

#include "platform/win32/wide.h"

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

std::string GetWindowTextUtf8(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

std::string SystemErrorText(unsigned long code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  std::string result = Narrow(text);
  if (result.empty() && code) result = "エラー " + std::to_string(code);
  return result;
}

void CenterOn(HWND window, HWND owner) {
  RECT outer{}, inner{};
  if (!owner || !GetWindowRect(owner, &outer) || !GetWindowRect(window, &inner)) return;
  const int width = inner.right - inner.left, height = inner.bottom - inner.top;
  const int x = outer.left + ((outer.right - outer.left) - width) / 2;
  const int y = outer.top + ((outer.bottom - outer.top) - height) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace orv::ui
