// The boxes of the program: failures ("エラー"), risky choices ("警告"), confirmations ("確認")
// and the application's general error box, each modal and inside a ModalScope.
#pragma once
#include <windows.h>

#include <string>

namespace orv::ui {

// A message box inside a ModalScope; answers the button pressed.
int MessageBoxUtf8(HWND owner, const std::string& text, const std::string& caption, UINT flags);

// "エラー", an error icon and OK.
void ShowError(HWND owner, const std::string& text);

// "警告", a warning icon; the cancelling button (No, Cancel) is the default. True for Yes or OK.
enum class WarningButtons { YesNo, OkCancel };
bool AskWarning(HWND owner, const std::string& text, WarningButtons buttons);

// "確認" with Yes and No; true for Yes.
enum class ConfirmIcon { Question, Warning };
bool Confirm(HWND owner, const std::string& text, ConfirmIcon icon);

// The application's general error box, for a failure no handler expected. Telling cannot fail
// in turn: when even the text cannot be made (no memory), the box comes without it.
void ShowFailure(HWND owner, const char* message) noexcept;

}  // namespace orv::ui
