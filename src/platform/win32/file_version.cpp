#include "platform/win32/file_version.h"

#include <windows.h>

#include <string_view>
#include <vector>

#include "platform/scope_exit.h"
#include "platform/win32/wide.h"

namespace orv {
namespace {

using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);

// By full path, so a version.dll planted beside the exe is never the one loaded.
HMODULE LoadSystemVersionLibrary() {
  wchar_t folder[MAX_PATH] = {};
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path = std::wstring(folder, length) + L"\\version.dll";
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

template <typename Fn>
Fn Function(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Four lower-case hexadecimal digits, as the string table's block names are written.
std::wstring Hex4(WORD value) {
  const wchar_t* digits = L"0123456789abcdef";
  std::wstring out(4, L'0');
  for (int i = 3; i >= 0; --i, value = static_cast<WORD>(value >> 4)) out[static_cast<std::size_t>(i)] = digits[value & 0xF];
  return out;
}

}  // namespace

std::string ReadFileVersion(const std::wstring& path) {
  HMODULE library = LoadSystemVersionLibrary();
  if (!library) return {};
  ScopeExit release([library] { FreeLibrary(library); });
  auto size = Function<SizeFn>(library, "GetFileVersionInfoSizeW");
  auto info = Function<InfoFn>(library, "GetFileVersionInfoW");
  auto query = Function<QueryFn>(library, "VerQueryValueW");
  if (!size || !info || !query) return {};

  DWORD handle = 0;
  const DWORD bytes = size(path.c_str(), &handle);
  if (bytes == 0) return {};
  std::vector<unsigned char> buffer(bytes);
  if (!info(path.c_str(), 0, bytes, buffer.data())) return {};

  void* table = nullptr;
  UINT tableBytes = 0;
  // A table too short for one language and code page pair holds no translation.
  if (!query(buffer.data(), L"\\VarFileInfo\\Translation", &table, &tableBytes) || !table ||
      tableBytes < 2 * sizeof(WORD))
    return {};
  const auto* pair = static_cast<const WORD*>(table);
  const std::wstring key = L"\\StringFileInfo\\" + Hex4(pair[0]) + Hex4(pair[1]) + L"\\FileVersion";
  void* text = nullptr;
  UINT chars = 0;
  if (!query(buffer.data(), key.c_str(), &text, &chars) || !text || chars == 0) return {};
  // The length counts the terminating NUL when there is one; never read past it.
  std::wstring_view value(static_cast<const wchar_t*>(text), chars);
  value = value.substr(0, value.find(L'\0'));
  return Narrow(value);
}

std::wstring ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace orv
