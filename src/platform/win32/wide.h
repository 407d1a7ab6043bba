// The Win32 side of the text rule: UTF-8 inside, UTF-16 at the W call.
#pragma once
#include <string>
#include <string_view>

#include "text/utf.h"

namespace orv {

inline std::wstring Widen(std::string_view text) {
  std::u16string wide = Utf8ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

inline std::string Narrow(std::wstring_view text) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

// A key or value name as the registry gave it, unpaired surrogates kept (Widen restores them).
inline std::string NarrowName(std::wstring_view name) {
  return KeyNameToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(name.data()), name.size()));
}

}  // namespace orv
