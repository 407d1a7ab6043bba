#include "ui/clipboard.h"

#include <cstring>

#include "platform/win32/wide.h"

namespace orv::ui {

bool CopyTextToClipboard(HWND owner, const std::string& text) {
  return CopyTextToClipboard(owner, std::wstring_view(Widen(text)));
}

bool CopyTextToClipboard(HWND owner, std::wstring_view wide) {
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  void* target = GlobalLock(memory);
  if (!target) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(target, wide.data(), bytes - sizeof(wchar_t));
  static_cast<wchar_t*>(target)[wide.size()] = L'\0';
  GlobalUnlock(memory);
  if (!OpenClipboard(owner)) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  // On success the clipboard owns the memory.
  const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!placed) GlobalFree(memory);
  return placed;
}

}  // namespace orv::ui
