// A file dropped onto the window selects the program whose row shows its path; a shortcut
// stands for its target.
#include "app/main_window.h"
#include "app/program_rows.h"
#include "operations/shortcut_drop.h"
#include "platform/scope_exit.h"
#include "platform/win32/shell_link.h"
#include "platform/win32/wide.h"
#include "ui/modal_scope.h"

namespace orv {

void TForm1::FilesDropped(HDROP drop) {
  // The drop's memory is ours to free, whatever happens below.
  ScopeExit finish([drop] { DragFinish(drop); });
  // A command behind an open box still works on the rows; the drop waits for nobody.
  if (ui::ModalScope::Active()) return;
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  if (length == 0) return;
  std::wstring name(length + 1, L'\0');
  if (DragQueryFileW(drop, 0, name.data(), length + 1) != length) return;
  name.resize(length);
  const std::string path = Narrow(name);

  findText_ = IsShortcutFileName(path) ? ResolveShortcut(path) : path;
  findMatchCase_ = false;
  // The search starts above the first row, whatever was selected.
  List().ClearSelection();
  const int row = FindRowHolding(
      static_cast<int>(rows_.size()), static_cast<int>(columnIds_.size()),
      [this](int item, int column) {
        const TProgram* program = ProgramOfItem(item);
        return program ? CellText(*program, columnIds_[static_cast<std::size_t>(column)], *tagList_,
                                  system_)
                       : std::string();
      },
      findText_);
  if (row < 0) return;
  SelectRow(row);
  SetForegroundWindow(Handle());
}

}  // namespace orv
