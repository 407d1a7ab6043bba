#include "platform/win32/win32_system.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/wide.h"

namespace orv {
namespace {

SYSTEMTIME ToSystemTime(const CalendarTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.year);
  st.wMonth = static_cast<WORD>(t.month);
  st.wDay = static_cast<WORD>(t.day);
  st.wHour = static_cast<WORD>(t.hour);
  st.wMinute = static_cast<WORD>(t.minute);
  st.wSecond = static_cast<WORD>(t.second);
  st.wMilliseconds = static_cast<WORD>(t.millisecond);
  return st;
}

}  // namespace

std::string Win32System::ExpandEnvironment(std::string_view text) {
  std::wstring source = Widen(text);
  DWORD needed = ExpandEnvironmentStringsW(source.c_str(), nullptr, 0);
  if (needed == 0) return std::string(text);
  std::wstring out(needed, L'\0');
  DWORD written = ExpandEnvironmentStringsW(source.c_str(), out.data(), needed);
  if (written == 0 || written > needed) return std::string(text);
  out.resize(written - 1);
  return Narrow(out);
}

std::optional<CalendarTime> Win32System::FileTimeToLocal(std::uint64_t fileTime) {
  FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
  FILETIME local{};
  SYSTEMTIME st{};
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st))
    return std::nullopt;
  return CalendarTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond,
                      st.wMilliseconds};
}

std::string Win32System::FormatShortDate(const CalendarTime& time) {
  SYSTEMTIME st = ToSystemTime(time);
  wchar_t buffer[128];
  int length = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 128);
  return length > 0 ? Narrow(std::wstring_view(buffer, static_cast<size_t>(length - 1))) : "";
}

std::string Win32System::FormatLongTime(const CalendarTime& time) {
  SYSTEMTIME st = ToSystemTime(time);
  wchar_t buffer[128];
  int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, 128);
  return length > 0 ? Narrow(std::wstring_view(buffer, static_cast<size_t>(length - 1))) : "";
}

int Win32System::CompareTextNoCase(std::string_view a, std::string_view b) {
  std::wstring wa = Widen(a), wb = Widen(b);
  int result = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(),
                              static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()));
  return result == 0 ? 0 : result - CSTR_EQUAL;
}

std::string Win32System::TextSortKey(std::string_view text) {
  std::wstring wide = Widen(text);
  const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  const int length = static_cast<int>(wide.size());
  // With LCMAP_SORTKEY the destination is a byte buffer and its size counts bytes. A key takes
  // a few bytes per character: one call with room to spare, a second only when that was short.
  std::string key(wide.size() * 6 + 32, '\0');
  int size = LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.c_str(), length,
                          reinterpret_cast<LPWSTR>(key.data()), static_cast<int>(key.size()));
  if (size <= 0) {
    size = LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.c_str(), length, nullptr, 0);
    if (size <= 0) return {};
    key.assign(static_cast<std::size_t>(size), '\0');
    size = LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.c_str(), length,
                        reinterpret_cast<LPWSTR>(key.data()), size);
  }
  key.resize(static_cast<std::size_t>(std::max(size, 0)));
  return key;
}

bool Win32System::FileExists(std::string_view path) {
  DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32System::DirectoryExists(std::string_view path) {
  DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace orv
