#include "ui/link_label.h"

#include <commctrl.h>
#include <windowsx.h>

#include "platform/win32/wide.h"
#include "ui/clipboard.h"
#include "ui/colors.h"
#include "ui/text.h"

namespace orv::ui {

LinkLabels::~LinkLabels() {
  for (const Label& label : labels_)
    if (IsWindow(label.window)) RemoveWindowSubclass(label.window, LabelProc, 1);
  if (menu_) DestroyMenu(menu_);
}

LinkLabels::Label* LinkLabels::Find(HWND label) {
  if (!label) return nullptr;  // a destroyed label's entry has none
  for (Label& l : labels_)
    if (l.window == label) return &l;
  return nullptr;
}

const LinkLabels::Label* LinkLabels::Find(HWND label) const {
  if (!label) return nullptr;
  for (const Label& l : labels_)
    if (l.window == label) return &l;
  return nullptr;
}

void LinkLabels::Attach(HWND label) {
  if (!label || Find(label)) return;
  labels_.push_back({label, {}, false, false});
  SetWindowSubclass(label, LabelProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void LinkLabels::Set(HWND window, const std::string& text, const std::string& target, bool linked,
                     bool enabled) {
  Label* label = Find(window);
  if (!label) return;
  label->target = target;
  label->linked = linked;
  label->hot = false;
  SetWindowTextUtf8(window, text);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  const LONG_PTR tabStop = linked && enabled ? WS_TABSTOP : 0;
  if ((style & WS_TABSTOP) != tabStop) SetWindowLongPtrW(window, GWL_STYLE, (style & ~WS_TABSTOP) | tabStop);
  EnableWindow(window, enabled);
  InvalidateRect(window, nullptr, TRUE);
}

bool LinkLabels::Linked(HWND window) const {
  const Label* label = Find(window);
  return label && label->linked;
}

std::string LinkLabels::Target(HWND window) const {
  const Label* label = Find(window);
  return label ? label->target : std::string();
}

bool LinkLabels::OnContextMenu(HWND owner, HWND window, LPARAM screenPoint) {
  if (!Linked(window)) return false;  // plain text has no link to copy
  remembered_ = window;
  if (!menu_) {
    menu_ = CreatePopupMenu();
    AppendMenuW(menu_, MF_STRING, static_cast<UINT_PTR>(copyCommand_), Widen("リンクをコピー(&C)").c_str());
  }
  POINT at{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  if (at.x == -1 && at.y == -1) {  // from the keyboard: below the label's left end
    RECT r{};
    GetWindowRect(window, &r);
    at = {r.left, r.bottom};
  }
  // The command goes to the owner, which passes it back to OnCommand.
  TrackPopupMenu(menu_, TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
  return true;
}

bool LinkLabels::OnCommand(HWND owner, int id) {
  if (id != copyCommand_) return false;
  const Label* label = Find(remembered_);
  if (label && !label->target.empty()) CopyTextToClipboard(owner, label->target);
  return true;
}

HFONT LinkLabels::UnderlinedFont(HFONT base) {
  if (!underlined_ || base != underlinedBase_) {
    underlined_.Reset(CopyFont(base, kUnderline));
    underlinedBase_ = base;
  }
  return underlined_.Get();
}

void LinkLabels::Paint(HWND window, const Label& label) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  // The parent's background for statics, as a plain label would have it.
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(window), WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(window)));
  FillRect(dc, &client, brush ? brush : colors::DialogBackgroundBrush());
  auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  if (label.linked) font = UnderlinedFont(font);
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, !IsWindowEnabled(window) ? colors::DisabledText()
                   : !label.linked          ? colors::PlainText()
                   : label.hot              ? colors::HotLinkText()
                                            : colors::LinkText());
  const std::wstring text = WindowTextWide(window);
  const UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client, format);
  if (GetFocus() == window && !(SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
    RECT extent = client;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, format | DT_CALCRECT);
    IntersectRect(&extent, &extent, &client);
    DrawFocusRect(dc, &extent);
  }
  if (old) SelectObject(dc, old);
  EndPaint(window, &paint);
}

LRESULT CALLBACK LinkLabels::LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data) {
  auto* group = reinterpret_cast<LinkLabels*>(data);
  Label* label = group->Find(window);
  if (message == WM_NCDESTROY || !label) {
    if (message == WM_NCDESTROY) {
      RemoveWindowSubclass(window, LabelProc, id);
      if (group->remembered_ == window) group->remembered_ = nullptr;
      if (label) label->window = nullptr;
    }
    return DefSubclassProc(window, message, wParam, lParam);
  }
  // Whatever may run a box or a menu (a click reaching the parent) comes last: the group may be
  // gone when it returns.
  switch (message) {
    case WM_PAINT: group->Paint(window, *label); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
      InvalidateRect(window, nullptr, TRUE);
      break;
    case WM_SETCURSOR:
      if (!label->linked) break;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_MOUSEMOVE:
      if (label->linked && !label->hot) {
        label->hot = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        InvalidateRect(window, nullptr, TRUE);
      }
      break;
    case WM_MOUSELEAVE:
      label->hot = false;
      InvalidateRect(window, nullptr, TRUE);
      break;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
      // Any other button on a link forgets the right-clicked label.
      if (label->linked) group->remembered_ = nullptr;
      break;
    case WM_GETDLGCODE: {
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      if (label->linked && key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
        return DLGC_WANTMESSAGE;
      break;
    }
    case WM_KEYDOWN:
      if (label->linked && (wParam == VK_RETURN || wParam == VK_SPACE) && !(lParam & 0x40000000)) {
        SendMessageW(GetParent(window), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(window), STN_CLICKED), reinterpret_cast<LPARAM>(window));
        return 0;
      }
      break;
    default: break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace orv::ui
