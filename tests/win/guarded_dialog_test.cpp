// A failure escaping a dialog's handler is told once in the general error box, and the dialog
// goes on: no exception crosses the dialog procedure into Windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

#include "guarded_dialog_ids.h"
#include "ui/window.h"

namespace orv::test {
namespace {

class ThrowingDialog : public ui::ModalDialog {
 public:
  int throws = 0;

 protected:
  bool OnCommand(int id, int code) override {
    (void)code;
    if (id != IDC_GUARDED_THROW) return false;
    ++throws;
    throw std::runtime_error("テストの失敗");
  }
};

bool WaitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 200; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return condition();
}

// Visible dialogs and message boxes of this process with this caption.
int CountBoxes(const wchar_t* caption) {
  int count = 0;
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, L"#32770", caption)) != nullptr) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window)) ++count;
  }
  return count;
}

TEST(GuardedDialog, AFailureInAHandlerIsToldOnceAndTheDialogGoesOn) {
  ThrowingDialog dialog;
  std::wstring told;
  int boxesAtOnce = 0, boxesAfter = -1;
  bool dialogWentOn = false;
  std::thread user([&] {
    HWND window = nullptr;
    if (!WaitFor([&] { return (window = FindWindowW(L"#32770", L"Guarded")) != nullptr; })) return;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_GUARDED_THROW, BN_CLICKED), 0);
    HWND box = nullptr;
    if (WaitFor([&] { return (box = FindWindowW(L"#32770", L"Orvalinde")) != nullptr; })) {
      wchar_t text[256] = {};
      GetDlgItemTextW(box, 0xFFFF, text, 256);  // a message box's text
      told = text;
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      boxesAtOnce = CountBoxes(L"Orvalinde");
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      WaitFor([&] { return !IsWindow(box); });
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      boxesAfter = CountBoxes(L"Orvalinde");
    }
    dialogWentOn = IsWindow(window) && IsWindowVisible(window);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  const INT_PTR result = dialog.ShowModal(GetModuleHandleW(nullptr), IDD_GUARDED_TEST, nullptr);
  user.join();
  EXPECT_EQ(dialog.throws, 1);
  EXPECT_EQ(told, L"テストの失敗");
  EXPECT_EQ(boxesAtOnce, 1);
  EXPECT_EQ(boxesAfter, 0);
  EXPECT_TRUE(dialogWentOn);
  EXPECT_EQ(result, IDOK) << "the dialog closed as asked, after the failure";
}

}  // namespace
}  // namespace orv::test
