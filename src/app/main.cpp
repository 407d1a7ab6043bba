// Program entry: one main window and its message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/main_window.h"
#include "app/startup_profile.h"
#include "ui/message_box.h"

namespace {

// A failed start-up has already queued the quit message of its destroyed window; a message box
// opened with it pending would close at once, before anyone could read it.
void ShowStartupFailure(const char* message) {
  MSG pending;
  while (PeekMessageW(&pending, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  orv::ui::ShowFailure(nullptr, message);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  // Before anything loads a DLL: a portable tool often runs from a download folder, where a
  // planted DLL must never be picked up by a later LoadLibrary (ours, the shell's or COM's).
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");
  orv::StartupMark("process loaded, entry reached");
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                                     ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // The shell's icon, link and ShellExecute calls want COM on this thread.
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  orv::StartupMark("common controls and COM");
  try {
    orv::TForm1 form;
    form.Create(instance, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      // The main window's accelerators first, then the modeless property window's dialog keys.
      if (orv::ui::Window::PreTranslateForProgramWindows(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  } catch (const std::exception& e) {
    ShowStartupFailure(e.what());
  } catch (...) {
    ShowStartupFailure("");
  }
  if (com) CoUninitialize();
  return 0;
}
