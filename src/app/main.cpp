// Program entry: one main window and its message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/main_window.h"
#include "ui/window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                                     ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // The shell may hand a ShellExecute to COM objects on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  try {
    orv::TForm1 form;
    form.Create(instance);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (form.TranslateAccelerator(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  } catch (const std::exception& e) {
    orv::ui::MessageBoxUtf8(nullptr, e.what(), "Orvalinde", MB_OK | MB_ICONERROR);
  } catch (...) {
    orv::ui::MessageBoxUtf8(nullptr, "", "Orvalinde", MB_OK | MB_ICONERROR);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}
