#include "annotations/tag_edit_dialog.h"

#include <commdlg.h>

#include <algorithm>

#include "annotations/tag_edit_dialog_ids.h"
#include "platform/win32/wide.h"
#include "ui/colors.h"
#include "ui/dpi.h"
#include "ui/gdi.h"
#include "ui/modal_scope.h"
#include "ui/text.h"

namespace orv {
namespace {

// The client area and the controls at 96 DPI.
constexpr int kClientWidth = 265;
constexpr int kClientHeight = 221;
struct Placed {
  int id;
  RECT design;  // left, top, right, bottom
  unsigned anchors;
};
constexpr Placed kLayout[] = {
    {IDC_TAGEDIT_LISTLABEL, {8, 8, 158, 24}, ui::kAnchorTopLeft},
    {IDC_TAGEDIT_LIST, {8, 27, 255, 119}, ui::kAnchorAll},
    {IDC_TAGEDIT_CAPTIONLABEL, {8, 133, 158, 149}, ui::kAnchorLeft | ui::kAnchorBottom},
    {IDC_TAGEDIT_CAPTION, {8, 152, 230, 173}, ui::kAnchorLeft | ui::kAnchorRight | ui::kAnchorBottom},
    {IDC_TAGEDIT_COLOR, {233, 151, 257, 173}, ui::kAnchorRight | ui::kAnchorBottom},
    {IDOK, {97, 186, 172, 211}, ui::kAnchorRight | ui::kAnchorBottom},
    {IDCANCEL, {182, 186, 257, 211}, ui::kAnchorRight | ui::kAnchorBottom},
};

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
  ui::SetFontOfWindow(Handle(), font_);
  // The client area at the window's DPI; the base centres the dialog on its owner.
  const UINT dpi = ui::WindowDpi(Handle());
  auto s = [dpi](LONG v) { return static_cast<LONG>(ui::Scale(static_cast<int>(v), dpi)); };
  RECT frame{0, 0, s(kClientWidth), s(kClientHeight)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
  SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  layout_.Begin(Handle(), {s(kClientWidth), s(kClientHeight)});
  for (const Placed& p : kLayout)
    layout_.AddAt(Item(p.id), {s(p.design.left), s(p.design.top), s(p.design.right), s(p.design.bottom)},
                  p.anchors);
  layout_.Apply();

  HWND list = Item(IDC_TAGEDIT_LIST);
  SendMessageW(list, LB_SETITEMHEIGHT, 0, ui::TextExtent(list, font_, L"TAG").cy + 4);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (int slot = 0; slot < kTagCount; ++slot)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(EntryText(slot).c_str()));
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  TagListClick();
}

void TTagEditDialog::TagListClick() {
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

void TTagEditDialog::CaptionEditChange() {
  if (editing_) return;
  const int slot = SelectedSlot();
  TAppTag* tag = workingCopy_.Items(slot);
  if (!tag) return;
  tag->Caption = ItemText(IDC_TAGEDIT_CAPTION);
  HWND list = Item(IDC_TAGEDIT_LIST);
  SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(slot), 0);
  SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(slot),
               reinterpret_cast<LPARAM>(EntryText(slot).c_str()));
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(slot), 0);
}

void TTagEditDialog::ColorButtonClick() {
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

void TTagEditDialog::TagListDrawItem(const DRAWITEMSTRUCT& draw) {
  if (draw.itemID == static_cast<UINT>(-1)) return;
  const int slot = static_cast<int>(draw.itemID);
  const TAppTag* tag = workingCopy_.Items(slot);
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  COLORREF back = ui::colors::ListBackground(selected);
  COLORREF fore = ui::colors::ListText(selected);
  if (!selected && tag && tag->Color != kNoColor) {
    back = ui::ColorToRgb(tag->Color);
    if (tag->WhiteText) fore = ui::colors::TextOnDark();
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

void TTagEditDialog::OkButtonClick() {
  tags_.Assign(workingCopy_);
  End(IDOK);
}

bool TTagEditDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDC_TAGEDIT_LIST:
      if (code == LBN_SELCHANGE) TagListClick();
      return true;
    case IDC_TAGEDIT_CAPTION:
      if (code == EN_CHANGE) CaptionEditChange();
      return true;
    case IDC_TAGEDIT_COLOR:
      if (code == BN_CLICKED) ColorButtonClick();
      return true;
    case IDOK: OkButtonClick(); return true;
    default: return false;
  }
}

ui::Answer TTagEditDialog::OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM: {
      const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (wParam == IDC_TAGEDIT_LIST) {
        TagListDrawItem(draw);
        return TRUE;
      }
      if (wParam == IDC_TAGEDIT_COLOR) {
        DrawColorButton(draw);
        return TRUE;
      }
      return {};
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) != Item(IDC_TAGEDIT_COLOR)) return {};
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_SIZE:
      layout_.Apply();
      InvalidateRect(Handle(), nullptr, TRUE);
      return 0;
    case WM_GETMINMAXINFO: {
      const int size = ui::Scale(200, ui::WindowDpi(Handle()));
      ui::SetMinimumTrackSize(Handle(), lParam, {size, size});
      return 0;
    }
    default: return {};
  }
}

}  // namespace orv
