#include "platform/win32/staged_ini.h"

#include <windows.h>

#include <stdexcept>

#include "platform/ini_codec.h"
#include "platform/win32/file_output.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_system.h"

namespace orv {
namespace {

// Told like a refused profile write, with the system's reason after it.
[[noreturn]] void ThrowCannotWrite(const std::string& path, DWORD code) {
  throw std::runtime_error(std::string(EIniWriteError(path).what()) + "\r\n" + SystemErrorText(code));
}

}  // namespace

StagedIni::StagedIni(std::string path) : path_(std::move(path)), staging_(path_ + ".saving") {
  // A copy left by a save that was cut short is stale; it is never read as the settings.
  const std::wstring staging = Widen(staging_.Path());
  DeleteFileW(staging.c_str());
  Win32System system;
  std::optional<std::string> bytes = system.ReadWholeFile(path_);
  if (!bytes) {
    const DWORD reason = GetLastError();
    if (GetFileAttributesW(Widen(path_).c_str()) == INVALID_FILE_ATTRIBUTES) return;  // first save
    ThrowCannotWrite(path_, reason);
  }
  // Written afresh rather than copied, so the copy's time is its own and no cached profile of
  // an earlier copy is mistaken for it.
  HANDLE file = CreateFileW(staging.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) ThrowCannotWrite(staging_.Path(), GetLastError());
  const unsigned long error = WriteWhole(file, *bytes);
  const bool closed = CloseHandle(file) != FALSE;
  if (error != 0 || !closed) {
    const DWORD reason = error != 0 ? static_cast<DWORD>(error) : GetLastError();
    DeleteFileW(staging.c_str());
    ThrowCannotWrite(staging_.Path(), reason);
  }
}

StagedIni::~StagedIni() { DeleteFileW(Widen(staging_.Path()).c_str()); }

void StagedIni::Commit() {
  Win32System system;
  std::optional<std::string> bytes = system.ReadWholeFile(staging_.Path());
  if (!bytes) {
    const DWORD reason = GetLastError();
    if (GetFileAttributesW(Widen(staging_.Path()).c_str()) == INVALID_FILE_ATTRIBUTES) return;  // nothing written
    ThrowCannotWrite(path_, reason);
  }
  ReplaceFileContents(path_, *bytes);
}

}  // namespace orv
