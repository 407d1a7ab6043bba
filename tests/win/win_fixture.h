// Real registry fixtures for the tests under Wine: entries written with the Win32 API or with
// reg.exe, removed again when the test ends.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace orv::test {

inline const wchar_t* kUninstallW = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline const wchar_t* kArpCacheW =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache\\";

// Runs a command line and waits for it; returns its exit code.
inline DWORD RunAndWait(std::wstring commandLine) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &si, &pi))
    return static_cast<DWORD>(-1);
  WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

class RegKeyWriter {
 public:
  RegKeyWriter(HKEY hive, const std::wstring& path, REGSAM view = 0) : hive_(hive), view_(view), path_(path) {
    RegCreateKeyExW(hive, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key_, nullptr);
  }
  ~RegKeyWriter() {
    if (key_) RegCloseKey(key_);
  }
  RegKeyWriter(const RegKeyWriter&) = delete;
  RegKeyWriter& operator=(const RegKeyWriter&) = delete;
  bool ok() const { return key_ != nullptr; }

  RegKeyWriter& Str(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
    RegSetValueExW(key_, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    return *this;
  }
  RegKeyWriter& Dword(const wchar_t* name, DWORD value) {
    RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    return *this;
  }
  RegKeyWriter& Raw(const wchar_t* name, DWORD type, const std::vector<unsigned char>& bytes) {
    RegSetValueExW(key_, name, 0, type, bytes.empty() ? nullptr : bytes.data(),
                   static_cast<DWORD>(bytes.size()));
    return *this;
  }

 private:
  HKEY hive_;
  REGSAM view_;
  std::wstring path_;
  HKEY key_ = nullptr;
};

inline void DeleteTree(HKEY hive, const std::wstring& path, REGSAM view = 0) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(hive, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS) return;
  RegDeleteTreeW(key, nullptr);
  RegCloseKey(key);
  RegDeleteKeyExW(hive, path.c_str(), view, 0);
}

}  // namespace orv::test
