#include "ui/modal_scope.h"

#include <algorithm>

namespace orv::ui {
namespace {
// The UI thread's only.
int modalDepth = 0;
std::vector<HWND> programWindows;
}  // namespace

ModalScope::ModalScope(HWND owner) {
  ++modalDepth;
  HWND ownerRoot = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  for (HWND window : programWindows) {
    if (window == ownerRoot || !IsWindow(window) || !IsWindowEnabled(window)) continue;
    EnableWindow(window, FALSE);
    disabled_.push_back(window);
  }
}

ModalScope::~ModalScope() {
  --modalDepth;
  for (HWND window : disabled_)
    if (IsWindow(window)) EnableWindow(window, TRUE);
}

bool ModalScope::Active() { return modalDepth > 0; }

void ModalScope::AddProgramWindow(HWND window) {
  if (window && std::find(programWindows.begin(), programWindows.end(), window) == programWindows.end())
    programWindows.push_back(window);
}

void ModalScope::RemoveProgramWindow(HWND window) {
  programWindows.erase(std::remove(programWindows.begin(), programWindows.end(), window),
                       programWindows.end());
}

}  // namespace orv::ui
