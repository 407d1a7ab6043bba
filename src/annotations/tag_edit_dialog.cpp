#include "annotations/tag_edit_dialog.h"

#include <commdlg.h>

#include <algorithm>

#include "annotations/tag_edit_dialog_ids.h"
#include "platform/win32/wide.h"
#include "ui/window.h"

namespace orv {
namespace {

// The client area and the controls at 96 DPI, as left/top/width/height from the edges they
// keep their distance to.
constexpr int kClientWidth = 265;
constexpr int kClientHeight = 221;

}  // namespace

TTagEditDialog::TTagEditDialog(TTagList& tags, HFONT font)
    : tags_(tags), workingCopy_(tags.Resolver()), font_(font), prefix_() {
  workingCopy_.Assign(tags_);
}

INT_PTR TTagEditDialog::ShowModal(HINSTANCE instance, HWND owner) {
  return ModalDialog::ShowModal(instance, IDD_TAGEDIT, owner);
}

std::wstring TTagEditDialog::EntryText(int slot) const {
  const TAppTag* tag = workingCopy_.Items(slot);
  return Widen(prefix_) + std::to_wstring(slot + 1) + L": " + Widen(tag ? tag->Caption : "");
}

int TTagEditDialog::SelectedSlot() const {
  const int index = static_cast<int>(SendMessageW(Item(IDC_TAGEDIT_LIST), LB_GETCURSEL, 0, 0));
  return workingCopy_.Items(index) ? index : -1;
}

void TTagEditDialog::OnInit() {
  ApplyFont(font_);
  // The client area at the window's DPI; the base centres the dialog on its owner.
  const UINT dpi = ui::WindowDpi(Handle());
  RECT frame{0, 0, ui::Scale(kClientWidth, dpi), ui::Scale(kClientHeight, dpi)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
  SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  LayoutControls();

  HWND list = Item(IDC_TAGEDIT_LIST);
  HDC dc = GetDC(list);
  HGDIOBJ old = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
  SIZE text{};
  GetTextExtentPoint32W(dc, L"TAG", 3, &text);
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  SendMessageW(list, LB_SETITEMHEIGHT, 0, text.cy + 4);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (int slot = 0; slot < kTagCount; ++slot)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(EntryText(slot).c_str()));
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  ListBox1Click();
}

void TTagEditDialog::LayoutControls() {
  RECT client{};
  GetClientRect(Handle(), &client);
  const UINT dpi = ui::WindowDpi(Handle());
  auto s = [dpi](int v) { return ui::Scale(v, dpi); };
  const int w = client.right, h = client.bottom;
  auto place = [&](int id, int left, int top, int width, int height) {
    MoveWindow(Item(id), left, top, std::max(width, 0), std::max(height, 0), TRUE);
  };
  place(IDC_TAGEDIT_LISTLABEL, s(8), s(8), s(150), s(16));
  place(IDC_TAGEDIT_LIST, s(8), s(27), w - s(18), h - s(129));
  place(IDC_TAGEDIT_CAPTIONLABEL, s(8), h - s(88), s(150), s(16));
  place(IDC_TAGEDIT_CAPTION, s(8), h - s(69), w - s(43), s(21));
  place(IDC_TAGEDIT_COLOR, w - s(32), h - s(70), s(24), s(22));
  place(IDOK, w - s(168), h - s(35), s(75), s(25));
  place(IDCANCEL, w - s(83), h - s(35), s(75), s(25));
}

void TTagEditDialog::ListBox1Click() {
  const int slot = SelectedSlot();
  HWND edit = Item(IDC_TAGEDIT_CAPTION);
  EnableWindow(edit, slot >= 0);
  editing_ = true;  // setting the text is no edit
  const TAppTag* tag = workingCopy_.Items(slot);
  SetWindowTextW(edit, tag ? Widen(tag->Caption).c_str() : L"");
  shownColor_ = tag ? tag->Color : kBtnFaceColor;
  editing_ = false;
  InvalidateRect(Item(IDC_TAGEDIT_COLOR), nullptr, TRUE);
}

void TTagEditDialog::Edit1Change() {
  if (editing_) return;
  const int slot = SelectedSlot();
  TAppTag* tag = workingCopy_.Items(slot);
  if (!tag) return;
  HWND edit = Item(IDC_TAGEDIT_CAPTION);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
  tag->Caption = Narrow(text);
  HWND list = Item(IDC_TAGEDIT_LIST);
  SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(slot), 0);
  SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(slot),
               reinterpret_cast<LPARAM>(EntryText(slot).c_str()));
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(slot), 0);
}

void TTagEditDialog::Panel1Click() {
  TAppTag* tag = workingCopy_.Items(SelectedSlot());
  if (!tag) return;
  static COLORREF customColors[16] = {};
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = Handle();
  choose.rgbResult = ui::ColorToRgb(tag->Color);
  choose.lpCustColors = customColors;
  choose.Flags = CC_RGBINIT;
  ui::ModalScope modal(Handle());
  if (!ChooseColorW(&choose)) return;
  tag->SetColor(choose.rgbResult & 0x00FFFFFFu, workingCopy_.Resolver());
  shownColor_ = tag->Color;
  InvalidateRect(Item(IDC_TAGEDIT_COLOR), nullptr, TRUE);
  InvalidateRect(Item(IDC_TAGEDIT_LIST), nullptr, TRUE);
}

void TTagEditDialog::ListBox1DrawItem(const DRAWITEMSTRUCT& draw) {
  if (draw.itemID == static_cast<UINT>(-1)) return;
  const int slot = static_cast<int>(draw.itemID);
  const TAppTag* tag = workingCopy_.Items(slot);
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
  COLORREF fore = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  if (!selected && tag && tag->Color != kNoColor) {
    back = ui::ColorToRgb(tag->Color);
    if (tag->WhiteText) fore = RGB(255, 255, 255);
  }
  HBRUSH brush = CreateSolidBrush(back);
  FillRect(draw.hDC, &draw.rcItem, brush);
  DeleteObject(brush);
  SetBkMode(draw.hDC, TRANSPARENT);
  SetTextColor(draw.hDC, fore);
  const UINT dpi = ui::WindowDpi(Handle());
  RECT text = draw.rcItem;
  text.left += ui::Scale(2, dpi);
  text.top += ui::Scale(2, dpi);
  const std::wstring entry = EntryText(slot);
  DrawTextW(draw.hDC, entry.c_str(), static_cast<int>(entry.size()), &text,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  if (draw.itemState & ODS_FOCUS) DrawFocusRect(draw.hDC, &draw.rcItem);
}

void TTagEditDialog::DrawColorButton(const DRAWITEMSTRUCT& draw) {
  RECT rect = draw.rcItem;
  DrawEdge(draw.hDC, &rect, (draw.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED,
           BF_RECT | BF_ADJUST);
  HBRUSH brush = CreateSolidBrush(ui::ColorToRgb(shownColor_));
  FillRect(draw.hDC, &rect, brush);
  DeleteObject(brush);
  if (draw.itemState & ODS_FOCUS) {
    InflateRect(&rect, -2, -2);
    DrawFocusRect(draw.hDC, &rect);
  }
}

void TTagEditDialog::Button2Click() {
  tags_.Assign(workingCopy_);
  End(IDOK);
}

bool TTagEditDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDC_TAGEDIT_LIST:
      if (code == LBN_SELCHANGE) ListBox1Click();
      return true;
    case IDC_TAGEDIT_CAPTION:
      if (code == EN_CHANGE) Edit1Change();
      return true;
    case IDC_TAGEDIT_COLOR:
      if (code == BN_CLICKED) Panel1Click();
      return true;
    case IDOK: Button2Click(); return true;
    default: return false;
  }
}

INT_PTR TTagEditDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (message) {
    case WM_DRAWITEM: {
      const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (wParam == IDC_TAGEDIT_LIST) {
        ListBox1DrawItem(draw);
        return TRUE;
      }
      if (wParam == IDC_TAGEDIT_COLOR) {
        DrawColorButton(draw);
        return TRUE;
      }
      break;
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == Item(IDC_TAGEDIT_COLOR)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      break;
    case WM_SIZE:
      LayoutControls();
      InvalidateRect(Handle(), nullptr, TRUE);
      break;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      const UINT dpi = ui::WindowDpi(Handle());
      info->ptMinTrackSize.x = ui::Scale(200, dpi);
      info->ptMinTrackSize.y = ui::Scale(200, dpi);
      return 0;
    }
    default: break;
  }
  handled = false;
  return 0;
}

}  // namespace orv
