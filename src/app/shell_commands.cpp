// Handing the selected program's folder, file or page to the shell, and its name to the
// clipboard. Only what the enabling decisions accept is handed over.
#include "app/main_window.h"
#include "operations/shell_targets.h"
#include "platform/win32/wide.h"
#include "resources/product_info.h"
#include "ui/clipboard.h"
#include "ui/message_box.h"

namespace orv {
namespace {

void ShellOpen(const wchar_t* verb, const std::string& target) {
  // The shell reports its own failures, if any; nothing is shown here.
  ShellExecuteW(nullptr, verb, Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
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
  if (!ui::Confirm(Handle(), RunProgramQuestion(*file), ui::ConfirmIcon::Question)) return;
  ShellExecuteW(nullptr, nullptr, Widen(*file).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm1::ActCopyAppNameExecute() {
  const int item = List().Selected();
  if (item < 0) return;
  // The caption exactly as the list shows it.
  ui::CopyTextToClipboard(Handle(), std::wstring_view(List().ItemTextWide(item, 0)));
}

void TForm1::ActHomePageExecute() { ShellOpen(L"open", kHomePageAddress); }

}  // namespace orv
