#include "dialogs/about_dialog.h"

#include <shellapi.h>

#include <algorithm>

#include "dialogs/about_dialog_ids.h"
#include "platform/win32/file_version.h"
#include "platform/win32/wide.h"
#include "resources/product_info.h"
#include "ui/dpi.h"

namespace orv {
namespace {

// 96-DPI design of the client area; its width follows the texts.
constexpr int kDesignClientHeight = 151;
constexpr int kIconLeft = 16;
constexpr int kLabelLeft = 62;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kMargin = 8;

}  // namespace

TAboutDialog::TAboutDialog(HFONT font) : font_(font), links_(IDM_ABOUT_COPYLINK) {}

TAboutDialog::~TAboutDialog() {
  if (icon_) DestroyIcon(icon_);
}

void TAboutDialog::Execute(HINSTANCE instance, HWND owner) {
  instance_ = instance;
  ShowModal(instance, IDD_ABOUT_DIALOG, owner);
}

std::string TAboutDialog::ReadFileVersion() { return orv::ReadFileVersion(ExecutablePath()); }

void TAboutDialog::OnInit() {
  HWND dialog = Handle();
  if (!font_) font_ = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  ui::SetFontOfWindow(dialog, font_);
  boldFont_.Reset(ui::CopyFont(font_, ui::kBold));
  SendMessageW(Item(IDC_ABOUT_NAME), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), TRUE);
  links_.Attach(Item(IDC_ABOUT_HOMEPAGE));

  wchar_t caption[256] = {};
  GetWindowTextW(Owner(), caption, 256);
  SetWindowTextW(Item(IDC_ABOUT_NAME), caption);
  const UINT dpi = ui::WindowDpi(dialog);
  const int iconSize = ui::Scale(32, dpi);
  icon_ = static_cast<HICON>(LoadImageW(instance_, L"MAINICON", IMAGE_ICON, iconSize, iconSize, 0));
  SendMessageW(Item(IDC_ABOUT_ICON), STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
  std::string version = ReadFileVersion();
  if (version.empty()) version = "unknown";
  SetItemText(IDC_ABOUT_VERSION, "Version " + version);
  SetItemText(IDC_ABOUT_COPYRIGHT, kCopyrightLine);
  links_.Set(Item(IDC_ABOUT_HOMEPAGE), kHomePageAddress, kHomePageAddress, true, true);

  // As wide as the longer of the two lines needs (the link underlined is as wide); as high as
  // designed.
  const int textWidth = std::max(ui::TextExtent(dialog, font_, Widen(kCopyrightLine)).cx,
                                 ui::TextExtent(dialog, font_, Widen(kHomePageAddress)).cx);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  const int outerWidth = textWidth + ui::Scale(kLabelLeft + kIconLeft + 20, dpi);
  const int clientWidth = outerWidth - (frame.right - frame.left);
  const int clientHeight = ui::Scale(kDesignClientHeight, dpi);
  SetWindowPos(dialog, nullptr, 0, 0, outerWidth, clientHeight + (frame.bottom - frame.top),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  auto s = [dpi](int value) { return ui::Scale(value, dpi); };
  auto Place = [this](int id, int x, int y, int width, int height) {
    MoveWindow(Item(id), x, y, width, height, TRUE);
  };
  const int lineHeight = s(18);
  const int labelWidth = std::max(clientWidth - s(kLabelLeft) - s(kMargin), 0);
  Place(IDC_ABOUT_ICON, s(kIconLeft), s(16), iconSize, iconSize);
  Place(IDC_ABOUT_NAME, s(kLabelLeft), s(16), labelWidth, lineHeight);
  Place(IDC_ABOUT_VERSION, s(kLabelLeft), s(34), labelWidth, lineHeight);
  Place(IDC_ABOUT_COPYRIGHT, s(kLabelLeft), s(52), labelWidth, lineHeight);
  Place(IDC_ABOUT_HOMEPAGE, s(kLabelLeft), s(78), std::min(labelWidth, textWidth + s(4)), lineHeight);
  const int buttonTop = clientHeight - s(kMargin) - s(kButtonHeight);
  Place(IDC_ABOUT_BEVEL, 0, buttonTop - s(kMargin), clientWidth, 2);
  Place(IDOK, clientWidth - s(kMargin) - s(kButtonWidth), buttonTop, s(kButtonWidth), s(kButtonHeight));
}

void TAboutDialog::HomePageClick() {
  ShellExecuteW(nullptr, L"open", Widen(kHomePageAddress).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool TAboutDialog::OnCommand(int id, int code) {
  if (id == IDC_ABOUT_HOMEPAGE && code == STN_CLICKED) {
    HomePageClick();
    return true;
  }
  if (links_.OnCommand(Handle(), id)) return true;
  if (id == IDCANCEL) {  // Escape and the close box: OK is also the cancel button
    End(IDOK);
    return true;
  }
  return false;
}

ui::Answer TAboutDialog::OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CONTEXTMENU && links_.OnContextMenu(Handle(), reinterpret_cast<HWND>(wParam), lParam))
    return 0;
  return {};
}

}  // namespace orv
