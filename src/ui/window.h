// Small helpers shared by the program's windows.
#pragma once
#include <windows.h>

#include <exception>
#include <cstdint>
#include <string>
#include <vector>

namespace orv::ui {

// 96-DPI layout constants scaled to the window's DPI.
inline int Scale(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), 96); }
UINT WindowDpi(HWND window);

// Open modal boxes and dialogs of the program. Each runs its own message loop, in which the
// registry watch must not replace the records that the command behind the box still uses, and
// in which no other window of the program may start a command: the program's top-level windows
// (the main window, the property window) are disabled for the scope, except the box's owner,
// which the box disables and enables itself.
class ModalScope {
 public:
  explicit ModalScope(HWND owner = nullptr);
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
  static bool Active();
  // A top-level window of the program, disabled while a modal box or dialog is open.
  static void AddProgramWindow(HWND window);
  static void RemoveProgramWindow(HWND window);

 private:
  std::vector<HWND> disabled_;
};

// A colour value as drawing takes it: a system colour reference (high byte 0xFF) becomes the
// system's current colour, the no-colour value 0x1FFFFFFF the button face.
COLORREF ColorToRgb(std::uint32_t color);

// A top-down 32-bit bitmap of size x size pixels, and its pixels (0xAARRGGBB) to draw on.
HBITMAP CreatePixelBitmap(int size, std::uint32_t*& pixels);

// A message box inside a ModalScope.
int MessageBoxUtf8(HWND owner, const std::string& text, const std::string& caption, UINT flags);
void SetWindowTextUtf8(HWND window, const std::string& text);

// The application's general error box. Telling cannot fail in turn: when even the text cannot
// be made (no memory), the box comes without it.
inline void ShowFailure(HWND owner, const char* message) noexcept {
  try {
    MessageBoxUtf8(owner, message, "Orvalinde", MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxW(owner, L"", L"Orvalinde", MB_OK | MB_ICONERROR);
  }
}

// Runs a handler so that no exception crosses into Windows: a failure is shown in the
// application's general error box and the window keeps running.
template <typename F>
void Guarded(HWND owner, F&& body) noexcept {
  try {
    body();
  } catch (const std::exception& e) {
    ShowFailure(owner, e.what());
  } catch (...) {
    ShowFailure(owner, "");
  }
}

}  // namespace orv::ui
