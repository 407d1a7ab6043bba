#include "platform/win32/system_error.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace orv {

std::string SystemErrorText(std::uint32_t code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  if (text.empty()) return "エラー コード " + std::to_string(code);
  return Narrow(text) + " (" + std::to_string(code) + ")";
}

}  // namespace orv
