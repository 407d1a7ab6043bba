// GDI objects the windows make: owned handles, fonts derived from the window's, pixel bitmaps.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string_view>
#include <utility>

namespace orv::ui {

// One GDI object (font, bitmap, brush), deleted with its holder.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(Handle handle = nullptr) {
    if (handle_ && handle_ != handle) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;

enum FontStyle : unsigned { kPlain = 0, kBold = 1, kUnderline = 2 };
// A copy of `font` in the given style; of the system's message font when there is none.
HFONT CopyFont(HFONT font, unsigned style = kPlain);
// The system's menu font at `dpi` (the font of the window's monitor where the system can tell
// it); null when the system cannot be asked.
HFONT CreateSystemMenuFont(UINT dpi);
// Sets `font` on the window and on every control inside it, nested child dialogs too.
void SetFontOfWindow(HWND window, HFONT font);
// The size `text` takes in `font` on the window's screen.
SIZE TextExtent(HWND window, HFONT font, std::wstring_view text);

// A top-down 32-bit bitmap of size x size pixels, and its pixels (0xAARRGGBB) to draw on.
HBITMAP CreatePixelBitmap(int size, std::uint32_t*& pixels);

}  // namespace orv::ui
