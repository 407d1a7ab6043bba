// Open modal boxes and dialogs of the program. Each runs its own message loop, in which the
// registry watch must not replace the records that the command behind the box still uses, and
// in which no other window of the program may start a command: the program's top-level windows
// (the main window, the property window) are disabled for the scope, except the box's owner,
// which the box disables and enables itself.
#pragma once
#include <windows.h>

#include <vector>

namespace orv::ui {

class ModalScope {
 public:
  explicit ModalScope(HWND owner = nullptr);
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
  static bool Active();
  // A top-level window of the program, disabled while a modal box or dialog is open.
  static void AddProgramWindow(HWND window);
  static void RemoveProgramWindow(HWND window);

 private:
  std::vector<HWND> disabled_;
};

}  // namespace orv::ui
