#include "ui/message_box.h"

#include "platform/win32/wide.h"
#include "ui/modal_scope.h"

namespace orv::ui {

int MessageBoxUtf8(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
  ModalScope modal(owner);
  return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), flags);
}

void ShowError(HWND owner, const std::string& text) {
  MessageBoxUtf8(owner, text, "エラー", MB_OK | MB_ICONERROR);
}

bool AskWarning(HWND owner, const std::string& text, WarningButtons buttons) {
  const UINT kind = buttons == WarningButtons::YesNo ? MB_YESNO : MB_OKCANCEL;
  const int answer = MessageBoxUtf8(owner, text, "警告", kind | MB_ICONWARNING | MB_DEFBUTTON2);
  return answer == (buttons == WarningButtons::YesNo ? IDYES : IDOK);
}

bool Confirm(HWND owner, const std::string& text, ConfirmIcon icon) {
  const UINT flags = MB_YESNO | (icon == ConfirmIcon::Question ? MB_ICONQUESTION : MB_ICONWARNING);
  return MessageBoxUtf8(owner, text, "確認", flags) == IDYES;
}

void ShowFailure(HWND owner, const char* message) noexcept {
  try {
    MessageBoxUtf8(owner, message, "Orvalinde", MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxW(owner, L"", L"Orvalinde", MB_OK | MB_ICONERROR);
  }
}

}  // namespace orv::ui
