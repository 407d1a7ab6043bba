// Handing the selected program's folder, file or page to the shell, and its name to the
// clipboard. Only what the enabling decisions accept is handed over.
#include <cstring>

#include "app/main_window.h"
#include "app/product_info.h"
#include "operations/shell_targets.h"
#include "platform/win32/wide.h"
#include "ui/window.h"

namespace orv {
namespace {

void ShellOpen(const wchar_t* verb, const std::string& target) {
  // The shell reports its own failures, if any; nothing is shown here.
  ShellExecuteW(nullptr, verb, Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool CopyUnicodeText(HWND owner, const std::wstring& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  if (void* target = GlobalLock(memory)) {
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory);
  } else {
    GlobalFree(memory);
    return false;
  }
  if (!OpenClipboard(owner)) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  // On success the clipboard owns the memory.
  const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!placed) GlobalFree(memory);
  return placed;
}

}  // namespace

void TForm1::ActOpenFolderExecute() {
  const TProgram* r = SelectedProgram();
  if (!r) return;
  if (auto folder = FolderToOpen(*r, system_)) ShellOpen(L"open", *folder);
}

void TForm1::ActOpenURLInfoAboutExecute() {
  const TProgram* r = SelectedProgram();
  if (!r) return;
  if (auto page = PublisherPage(*r)) ShellOpen(L"open", *page);
}

void TForm1::ActExecuteProgramExecute() {
  const TProgram* r = SelectedProgram();
  if (!r) return;
  // Taken before the box: the records may be replaced while it is open.
  const std::optional<std::string> file = ProgramToRun(*r, system_);
  r = nullptr;
  if (!file) return;
  if (ui::MessageBoxUtf8(handle_, RunProgramQuestion(*file), "確認", MB_YESNO | MB_ICONQUESTION) !=
      IDYES)
    return;
  ShellExecuteW(nullptr, nullptr, Widen(*file).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm1::ActCopyAppNameExecute() {
  const int item = ListView_GetNextItem(programList_, -1, LVNI_SELECTED);
  if (item < 0) return;
  // The caption exactly as the list shows it.
  std::wstring caption(32768, L'\0');
  ListView_GetItemText(programList_, item, 0, caption.data(), static_cast<int>(caption.size()));
  caption.resize(wcslen(caption.c_str()));
  CopyUnicodeText(handle_, caption);
}

void TForm1::ActHomePageExecute() { ShellOpen(L"open", kHomePageAddress); }

}  // namespace orv
