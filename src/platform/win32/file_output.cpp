#include "platform/win32/file_output.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/win32/system_error.h"
#include "platform/win32/wide.h"

namespace orv {

std::optional<std::string> Utf8ToCodePage932(std::string_view text) {
  constexpr UINT kShiftJis = 932;
  const std::wstring wide = Widen(text);
  if (wide.empty()) return std::string();
  const int length = static_cast<int>(wide.size());
  const char* fallback = "?";
  int size = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0,
                                 fallback, nullptr);
  if (size <= 0) return std::nullopt;
  std::string out(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide.data(), length, out.data(), size,
                          fallback, nullptr) != size)
    return std::nullopt;
  return out;
}

namespace {

[[noreturn]] void Fail(const char* format, const std::string& path, DWORD code) {
  std::string message = format;
  const std::size_t first = message.find("%s");
  message.replace(first, 2, path);
  // After the path: a file name may hold "%s" itself.
  message.replace(message.find("%s", first + path.size()), 2, SystemErrorText(code));
  throw std::runtime_error(message);
}

constexpr const char* kCannotCreate = "ファイル \"%s\" を作成できません。%s";
constexpr const char* kCannotWrite = "ファイル \"%s\" に書き込めません。%s";

}  // namespace

unsigned long WriteWhole(void* file, std::string_view bytes) {
  constexpr std::size_t kChunk = 1 << 16;
  for (std::size_t done = 0; done < bytes.size();) {
    const DWORD want = static_cast<DWORD>(std::min(kChunk, bytes.size() - done));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, want, &written, nullptr)) return GetLastError();
    if (written != want) return ERROR_DISK_FULL;  // a short write: the volume is full
    done += written;
  }
  return 0;
}

void ReplaceFileContents(const std::string& path, std::string_view bytes) {
  const std::wstring target = Widen(path);
  std::wstring folder = target;
  std::size_t slash = folder.find_last_of(L"\\/");
  folder = slash == std::wstring::npos ? L"." : folder.substr(0, slash + 1);
  // Beside the target, so the final move stays on one volume and is one step.
  wchar_t temp[MAX_PATH + 16] = {};
  if (!GetTempFileNameW(folder.c_str(), L"orv", 0, temp)) Fail(kCannotCreate, path, GetLastError());
  HANDLE file = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    DeleteFileW(temp);
    Fail(kCannotCreate, path, code);
  }
  auto abandon = [&](DWORD code) {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    DeleteFileW(temp);
    Fail(kCannotWrite, path, code);
  };
  if (DWORD code = WriteWhole(file, bytes)) abandon(code);
  if (!FlushFileBuffers(file)) abandon(GetLastError());
  HANDLE closing = std::exchange(file, INVALID_HANDLE_VALUE);
  if (!CloseHandle(closing)) abandon(GetLastError());
  if (!MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    // The target itself refuses (open elsewhere, read-only, a folder): it cannot be created.
    const DWORD code = GetLastError();
    DeleteFileW(temp);
    Fail(kCannotCreate, path, code);
  }
}

}  // namespace orv
