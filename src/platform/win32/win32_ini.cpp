#include "platform/win32/win32_ini.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace orv {

std::string Win32Ini::ReadString(std::string_view section, std::string_view key,
                                 std::string_view fallback) {
  wchar_t buffer[2048];
  DWORD length = GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                          Widen(fallback).c_str(), buffer, 2048,
                                          Widen(path_).c_str());
  return Narrow(std::wstring_view(buffer, length));
}

bool Win32Ini::WriteString(std::string_view section, std::string_view key,
                           std::string_view value) {
  return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                    Widen(value).c_str(), Widen(path_).c_str()) != FALSE;
}

bool Win32Ini::DeleteKey(std::string_view section, std::string_view key) {
  return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), nullptr,
                                    Widen(path_).c_str()) != FALSE;
}

}  // namespace orv
