// Program entry: one main window and its message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"
#include "dialogs/property_dialog.h"
#include "ui/window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                                     ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    orv::TForm1 form;
    form.Create(instance);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (form.TranslateAccelerator(message)) continue;
      // The modeless property window navigates by keyboard as any dialog does.
      if (orv::PropertyDialog && orv::PropertyDialog->PreTranslateMessage(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  } catch (const std::exception& e) {
    orv::ui::MessageBoxUtf8(nullptr, e.what(), "Orvalinde", MB_OK | MB_ICONERROR);
  } catch (...) {
    orv::ui::MessageBoxUtf8(nullptr, "", "Orvalinde", MB_OK | MB_ICONERROR);
  }
  return 0;
}
