#include "platform/win32/win32_system.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/file_output.h"
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

std::optional<std::string> Win32System::ToAnsiExact(std::string_view text) {
  std::wstring wide = Widen(text);
  if (wide.empty()) return std::string();
  BOOL usedDefault = FALSE;
  const int length = static_cast<int>(wide.size());
  int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), length, nullptr, 0,
                                 nullptr, &usedDefault);
  if (size <= 0) return std::nullopt;
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), length, out.data(), size,
                      nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  return out;
}

std::string Win32System::FromAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int length = static_cast<int>(ansi.size());
  int size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (size <= 0) return std::string(ansi.size(), '?');
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), size);
  return Narrow(wide);
}

std::optional<std::string> Win32System::ReadWholeFile(std::string_view path) {
  // Others may read meanwhile, but nobody may write.
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::string> bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart >= 0 && size.QuadPart <= (1 << 30)) {
    bytes.emplace(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes->size()) {
      DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes->size() - done, 1 << 20));
      DWORD read = 0;
      if (!ReadFile(file, bytes->data() + done, chunk, &read, nullptr)) {
        bytes.reset();
        break;
      }
      if (read == 0) break;
      done += read;
    }
    if (bytes) bytes->resize(done);
  }
  CloseHandle(file);
  return bytes;
}

std::string Win32System::ReplaceWholeFile(std::string_view path, std::string_view bytes) {
  try {
    ReplaceFileContents(std::string(path), bytes);
    return "";
  } catch (const std::exception& e) {
    return e.what();
  }
}

bool Win32System::CanCreateFilesIn(std::string_view folder) {
  std::wstring probe = Widen(folder);
  if (!probe.empty() && probe.back() != L'\\') probe += L'\\';
  probe += L"~orvalinde-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool Win32System::CreateFolder(std::string_view folder) {
  if (folder.empty()) return false;
  if (DirectoryExists(folder)) return true;
  std::string_view trimmed = folder;
  while (!trimmed.empty() && (trimmed.back() == '\\' || trimmed.back() == '/')) trimmed.remove_suffix(1);
  std::size_t slash = trimmed.find_last_of("\\/");
  if (slash != std::string_view::npos && slash > 2) CreateFolder(trimmed.substr(0, slash));
  CreateDirectoryW(Widen(trimmed).c_str(), nullptr);
  return DirectoryExists(trimmed);
}

}  // namespace orv
