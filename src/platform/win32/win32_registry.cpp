#include "platform/win32/win32_registry.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace orv {
namespace {

HKEY HiveOf(RegistryRoot root) {
  return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

REGSAM ViewOf(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::LocalMachine: return KEY_WOW64_64KEY;
    case RegistryRoot::LocalMachine32: return KEY_WOW64_32KEY;
    default: return 0;
  }
}

// The key's subkey names, read before any of them is deleted.
std::vector<std::wstring> SubKeyNamesOf(HKEY key) {
  std::vector<std::wstring> names;
  std::wstring name(256, L'\0');
  for (DWORD i = 0;; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    LONG rc = RegEnumKeyExW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_MORE_DATA) {
      name.resize(name.size() * 2);
      --i;
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    names.emplace_back(name.data(), length);
  }
  return names;
}

bool IsSymbolicLink(HKEY key) {
  DWORD type = 0;
  return RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) ==
             ERROR_SUCCESS &&
         type == REG_LINK;
}

// Deletes the key behind an open handle: the one way to delete a link rather than its target.
LONG DeleteOpenKey(HKEY key) {
  using DeleteKeyFn = LONG(WINAPI*)(HANDLE);
  using StatusToErrorFn = ULONG(WINAPI*)(LONG);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto deleteKey = reinterpret_cast<DeleteKeyFn>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "NtDeleteKey")));
  auto toError = reinterpret_cast<StatusToErrorFn>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlNtStatusToDosError")));
  if (!deleteKey || !toError) return ERROR_PROC_NOT_FOUND;
  LONG status = deleteKey(key);
  return status == 0 ? ERROR_SUCCESS : static_cast<LONG>(toError(status));
}

// Deepest first, in one view. Every key is opened as itself (REG_OPTION_OPEN_LINK), so a
// symbolic link is removed as a link and the tree it points to is never entered. A subkey
// that cannot be deleted stays; its parent then stays too and the first failure is returned.
LONG DeleteTree(HKEY parent, const std::wstring& name, REGSAM view) {
  HKEY key = nullptr;
  LONG rc =
      RegOpenKeyExW(parent, name.c_str(), REG_OPTION_OPEN_LINK, KEY_READ | DELETE | view, &key);
  if (rc != ERROR_SUCCESS) return rc;
  LONG first = ERROR_SUCCESS;
  if (!IsSymbolicLink(key)) {
    for (const std::wstring& child : SubKeyNamesOf(key)) {
      LONG childRc = DeleteTree(key, child, view);
      if (childRc != ERROR_SUCCESS && childRc != ERROR_FILE_NOT_FOUND && first == ERROR_SUCCESS)
        first = childRc;
    }
  }
  rc = DeleteOpenKey(key);
  RegCloseKey(key);
  return first != ERROR_SUCCESS ? first : rc;
}

class Win32Key : public RegistryKey {
 public:
  Win32Key(HKEY key, REGSAM view) : key_(key), view_(view) {}
  ~Win32Key() override { RegCloseKey(key_); }
  Win32Key(const Win32Key&) = delete;
  Win32Key& operator=(const Win32Key&) = delete;

  std::unique_ptr<RegistryKey> OpenSubKey(std::string_view name, KeyAccess access) override {
    std::wstring wname = Widen(name);
    if (wname.empty()) return nullptr;
    REGSAM sam = (access == KeyAccess::Read ? KEY_READ : KEY_READ | KEY_WRITE) | view_;
    HKEY sub = nullptr;
    if (RegOpenKeyExW(key_, wname.c_str(), 0, sam, &sub) != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32Key>(sub, view_);
  }

  std::vector<std::string> SubKeyNames() override {
    std::vector<std::string> names;
    for (SubKeyEntry& key : SubKeys()) names.push_back(std::move(key.name));
    return names;
  }

  std::vector<SubKeyEntry> SubKeys() override {
    std::vector<SubKeyEntry> keys;
    DWORD count = 0, longest = 0;
    if (RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return keys;
    keys.reserve(count);
    std::wstring name(std::max<DWORD>(longest, 255) + 1, L'\0');
    for (DWORD i = 0;; ++i) {
      DWORD length = static_cast<DWORD>(name.size());
      FILETIME written{};
      LONG rc = RegEnumKeyExW(key_, i, name.data(), &length, nullptr, nullptr, nullptr, &written);
      if (rc == ERROR_MORE_DATA) {
        name.resize(name.size() * 2);
        --i;
        continue;
      }
      if (rc != ERROR_SUCCESS) break;
      keys.push_back({NarrowName(std::wstring_view(name.data(), length)),
                      (std::uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime});
    }
    return keys;
  }

  std::optional<std::uint32_t> SubKeyCount() override {
    DWORD count = 0;
    if (RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return std::nullopt;
    return count;
  }

  bool ValueExists(std::string_view name) override {
    return RegQueryValueExW(key_, Widen(name).c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
  }

  bool QueryValue(std::string_view name, RegistryValue& out) override {
    std::wstring wname = Widen(name);
    // Room for the usual values, a SlowInfoCache record among them, in one call.
    if (out.data.capacity() < 1024) out.data.reserve(1024);
    out.data.resize(out.data.capacity());
    for (;;) {
      DWORD type = 0;
      DWORD size = static_cast<DWORD>(out.data.size());
      LONG rc = RegQueryValueExW(key_, wname.c_str(), nullptr, &type, out.data.data(), &size);
      if (rc == ERROR_MORE_DATA) {
        out.data.resize(size + 2);
        continue;
      }
      if (rc != ERROR_SUCCESS) {
        out.data.clear();
        return false;
      }
      out.type = type;
      out.data.resize(size);
      return true;
    }
  }

  bool ReadAllValues(std::vector<std::pair<std::string, RegistryValue>>& out,
                     std::size_t maxValues, std::size_t maxBytes) override {
    DWORD count = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS ||
        count > maxValues || longestData > maxBytes)
      return false;
    out.resize(count);
    std::wstring name(longestName + 1, L'\0');
    for (DWORD i = 0; i < count; ++i) {
      DWORD nameLength = longestName + 1;
      DWORD type = 0;
      RegistryValue& value = out[i].second;
      value.data.resize(longestData);
      DWORD size = longestData;
      // A value added or grown since the count makes the snapshot fail: read value by value.
      if (RegEnumValueW(key_, i, name.data(), &nameLength, nullptr, &type, value.data.data(),
                        &size) != ERROR_SUCCESS)
        return false;
      out[i].first = NarrowName(std::wstring_view(name.data(), nameLength));
      value.type = type;
      value.data.resize(size);
    }
    return true;
  }

  bool WriteString(std::string_view name, std::string_view text) override {
    std::wstring wtext = Widen(text);
    return Done(RegSetValueExW(key_, Widen(name).c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(wtext.c_str()),
                               static_cast<DWORD>((wtext.size() + 1) * sizeof(wchar_t))));
  }

  bool DeleteValue(std::string_view name) override {
    return Done(RegDeleteValueW(key_, Widen(name).c_str()));
  }

  std::uint32_t LastError() const override { return lastError_; }

  RegistryStatus DeleteSubKeyTree(std::string_view name) override {
    if (!IsPlainKeyName(name)) return {kRegErrorInvalidName};
    return {static_cast<std::uint32_t>(DeleteTree(key_, Widen(name), view_))};
  }

 private:
  bool Done(LONG rc) {
    if (rc != ERROR_SUCCESS) lastError_ = static_cast<std::uint32_t>(rc);
    return rc == ERROR_SUCCESS;
  }

  HKEY key_;
  REGSAM view_;
  std::uint32_t lastError_ = 0;
};

thread_local std::uint32_t lastOpenError = 0;

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(RegistryRoot root, std::string_view path,
                                                    KeyAccess access) {
  REGSAM sam = (access == KeyAccess::Read ? KEY_READ : KEY_READ | KEY_WRITE) | ViewOf(root);
  std::wstring wpath = Widen(path);
  while (!wpath.empty() && wpath.back() == L'\\') wpath.pop_back();
  HKEY key = nullptr;
  LONG rc = RegOpenKeyExW(HiveOf(root), wpath.c_str(), 0, sam, &key);
  if (rc != ERROR_SUCCESS) {
    lastOpenError = static_cast<std::uint32_t>(rc);
    return nullptr;
  }
  return std::make_unique<Win32Key>(key, ViewOf(root));
}

std::uint32_t Win32Registry::LastOpenError() const { return lastOpenError; }

std::uint64_t Win32Registry::Now() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

}  // namespace orv
