#include "dialogs/property_dialog.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "dialogs/link_target.h"
#include "dialogs/property_dialog_ids.h"
#include "platform/win32/wide.h"
#include "ui/dialog_helpers.h"
#include "ui/window.h"

namespace orv {

TPropertyDialog* PropertyDialog = nullptr;

// Marks a handler on the stack; the last one out frees a window destroyed meanwhile.
struct PropertyBusy {
  explicit PropertyBusy(TPropertyDialog* held) : dialog(held) { ++dialog->busy_; }
  ~PropertyBusy() {
    if (--dialog->busy_ == 0 && dialog->destroyed_) delete dialog;
  }
  PropertyBusy(const PropertyBusy&) = delete;
  PropertyBusy& operator=(const PropertyBusy&) = delete;
  TPropertyDialog* dialog;
};

namespace {

constexpr int kPageTemplates[3] = {IDD_PROPERTY_GENERAL, IDD_PROPERTY_DETAILS, IDD_PROPERTY_PATCHES};
constexpr int kPageIds[3] = {IDC_PROPERTY_GENERAL, IDC_PROPERTY_DETAILS, IDC_PROPERTY_PATCHES};
constexpr const char* kPageCaptions[3] = {"全般", "詳細", "パッチ情報"};
constexpr COLORREF kLinkColor = RGB(0, 0, 255);
constexpr COLORREF kHotLinkColor = RGB(255, 0, 0);
constexpr COLORREF kPlainColor = RGB(0, 0, 0);

void AddColumns(HWND list, std::initializer_list<std::pair<const char*, int>> columns, UINT dpi) {
  int index = 0;
  for (const auto& [caption, width] : columns) {
    std::wstring text = Widen(caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = text.data();
    column.cx = width < 0 ? ui::Scale(80, dpi) : ui::Scale(width, dpi);
    column.iSubItem = index;
    ListView_InsertColumn(list, index++, &column);
  }
}

void AddRow(HWND list, const std::vector<std::string>& cells, LPARAM data) {
  std::wstring first = Widen(cells.empty() ? "" : cells[0]);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = ListView_GetItemCount(list);
  item.pszText = first.data();
  item.lParam = data;
  const int row = ListView_InsertItem(list, &item);
  if (row < 0) return;
  for (std::size_t i = 1; i < cells.size(); ++i) {
    std::wstring text = Widen(cells[i]);
    ListView_SetItemText(list, row, static_cast<int>(i), text.data());
  }
}

bool CopyToClipboard(HWND owner, const std::string& text) {
  const std::wstring wide = Widen(text);
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  const SIZE_T bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool done = false;
  if (memory) {
    if (void* target = GlobalLock(memory)) {
      memcpy(target, wide.c_str(), bytes);
      GlobalUnlock(memory);
      done = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!done) GlobalFree(memory);
  }
  CloseClipboard();
  return done;
}

}  // namespace

TPropertyDialog* TPropertyDialog::Create(HINSTANCE instance, HWND owner, HFONT ownerFont,
                                         Registry& registry, SystemServices& system,
                                         EditCommentHandler editComment) {
  auto* dialog = new TPropertyDialog(registry, system, ownerFont, std::move(editComment));
  dialog->links_[kPublisher].allowMailto = true;
  dialog->links_[kHelpLink].allowMailto = true;
  dialog->links_[kUpdateInfo].allowMailto = true;
  dialog->links_[kPatchSupport].allowMailto = true;
  {
    PropertyBusy busy(dialog);
    if (!CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_PROPERTY), owner, DialogProc,
                            reinterpret_cast<LPARAM>(dialog))) {
      dialog->destroyed_ = true;  // freed as the guard goes
      return nullptr;
    }
    for (int i = 0; i < 3; ++i)
      dialog->CreatePage(instance, kPageTemplates[i], kPageIds[i], dialog->pages_[i]);
    dialog->FormCreate();
    if (dialog->destroyed_) return nullptr;
  }
  return dialog;
}

TPropertyDialog::~TPropertyDialog() {
  for (HFONT* font : {&font_, &boldFont_, &linkFont_})
    if (*font) DeleteObject(*font);
  if (linkMenu_) DestroyMenu(linkMenu_);
}

INT_PTR CALLBACK TPropertyDialog::DialogProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  TPropertyDialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<TPropertyDialog*>(lParam);
    self->handle_ = window;
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    ui::ModalScope::AddProgramWindow(window);
  } else {
    self = reinterpret_cast<TPropertyDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  }
  if (!self) return FALSE;
  INT_PTR result = FALSE;
  ui::Guarded(window, [&] { result = self->HandleMessage(message, wParam, lParam); });
  if (message == WM_NCDESTROY) {
    ui::ModalScope::RemoveProgramWindow(window);
    SetWindowLongPtrW(window, DWLP_USER, 0);
    self->handle_ = nullptr;
    self->WindowDestroyed();  // may free self
  }
  return result;
}

void TPropertyDialog::WindowDestroyed() {
  destroyed_ = true;
  if (PropertyDialog == this) PropertyDialog = nullptr;
  if (!Busy()) delete this;
}

void TPropertyDialog::CreatePage(HINSTANCE instance, int templateId, int id, Page& page) {
  page.window = CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), handle_, PageProc,
                                   reinterpret_cast<LPARAM>(this));
  if (!page.window) return;
  SetWindowLongPtrW(page.window, GWLP_ID, id);
  // Above the page control, which would paint over it otherwise; as in a property sheet the
  // page's controls come first in the tab order, then the page tabs and the close button.
  SetWindowPos(page.window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TPropertyDialog::FormCreate() {
  tabs_ = GetDlgItem(handle_, IDC_PROPERTY_PAGES);
  font_ = ui::CopyFont(ownerFont_);
  boldFont_ = ui::CopyFont(ownerFont_, true);
  linkFont_ = ui::CopyFont(ownerFont_, false, true);
  ui::SetFontOfChildren(handle_, font_);
  for (HWND name : {GetDlgItem(pages_[0].window, IDC_GENERAL_NAME),
                    GetDlgItem(pages_[1].window, IDC_DETAILS_NAME),
                    GetDlgItem(pages_[2].window, IDC_PATCHES_NAME)})
    SendMessageW(name, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_), FALSE);
  SendMessageW(GetDlgItem(pages_[2].window, IDC_PATCHES_NOTE), WM_SETFONT,
               reinterpret_cast<WPARAM>(linkFont_), FALSE);

  const int linkIds[kLinkCount] = {IDC_GENERAL_PUBLISHER, IDC_GENERAL_HELPLINK,
                                   IDC_GENERAL_UPDATEINFO, IDC_GENERAL_README,
                                   IDC_GENERAL_INSTALLLOCATION, IDC_PATCHES_SUPPORT};
  for (int i = 0; i < kLinkCount; ++i) {
    links_[i].label = GetDlgItem(pages_[i == kPatchSupport ? 2 : 0].window, linkIds[i]);
    SetWindowSubclass(links_[i].label, LinkProc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  linkMenu_ = CreatePopupMenu();
  AppendMenuW(linkMenu_, MF_STRING, IDM_PROPERTY_COPYLINK, Widen("リンクをコピー(&C)").c_str());

  for (int i = 0; i < 3; ++i) {
    std::wstring caption = Widen(kPageCaptions[i]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    TabCtrl_InsertItem(tabs_, i, &item);
  }
  const UINT dpi = ui::WindowDpi(handle_);
  const DWORD listStyle = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
  HWND files = GetDlgItem(pages_[1].window, IDC_DETAILS_FILELIST);
  ListView_SetExtendedListViewStyle(files, listStyle);
  AddColumns(files, {{"ファイル名", 90}, {"場所", 150}, {"バージョン", 100}, {"ビルド日時", 120}}, dpi);
  HWND patches = GetDlgItem(pages_[2].window, IDC_PATCHES_LIST);
  ListView_SetExtendedListViewStyle(patches, listStyle);
  AddColumns(patches, {{"名前", 300}, {"インストール日", 80}, {"サポート情報", 150},
                       {"アンインストール", -1}, {"更新ID", -1}, {"", 0}}, dpi);

  RECT window{};
  GetWindowRect(handle_, &window);
  minimum_ = {window.right - window.left, window.bottom - window.top};
  for (Page& page : pages_) AnchorPage(page);
  LayoutForm();
  TabCtrl_SetCurSel(tabs_, 0);
  ShowPage(0);
  SetProgram(nullptr);
}

// Controls reaching the page's right edge grow with it (buttons move instead); a list grows
// in height and what lies below it moves down.
void TPropertyDialog::AnchorPage(Page& page) {
  if (!page.window) return;
  RECT client{};
  GetClientRect(page.window, &client);
  page.design = {client.right, client.bottom};
  const int margin = MulDiv(12, static_cast<int>(ui::WindowDpi(handle_)), 96);
  int listBottom = -1;
  for (HWND child = GetWindow(page.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    if (lstrcmpiW(className, WC_LISTVIEWW) != 0) continue;
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, page.window, reinterpret_cast<POINT*>(&r), 2);
    listBottom = r.bottom;
  }
  for (HWND child = GetWindow(page.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, page.window, reinterpret_cast<POINT*>(&r), 2);
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    const bool isList = lstrcmpiW(className, WC_LISTVIEWW) == 0;
    const bool isButton = lstrcmpiW(className, WC_BUTTONW) == 0;
    const bool reachesRight = r.right >= client.right - margin;
    page.controls.push_back({child, r, reachesRight && !isButton, reachesRight && isButton, isList,
                             listBottom >= 0 && !isList && r.top >= listBottom});
  }
}

void TPropertyDialog::LayoutForm() {
  if (!tabs_) return;
  RECT client{};
  GetClientRect(handle_, &client);
  const UINT dpi = ui::WindowDpi(handle_);
  const int margin = ui::Scale(6, dpi);
  HWND close = GetDlgItem(handle_, IDOK);
  RECT button{};
  GetWindowRect(close, &button);
  const int bw = button.right - button.left, bh = button.bottom - button.top;
  const int buttonTop = client.bottom - margin - bh;
  MoveWindow(close, client.right - margin - bw, buttonTop, bw, bh, TRUE);
  RECT area{margin, margin, client.right - margin, buttonTop - margin};
  MoveWindow(tabs_, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
  RECT display{0, 0, area.right - area.left, area.bottom - area.top};
  TabCtrl_AdjustRect(tabs_, FALSE, &display);
  OffsetRect(&display, area.left, area.top);
  for (Page& page : pages_) {
    if (!page.window) continue;
    MoveWindow(page.window, display.left, display.top, display.right - display.left,
               display.bottom - display.top, TRUE);
    LayoutPage(page);
  }
}

void TPropertyDialog::LayoutPage(Page& page) {
  if (!page.design.cx) return;
  RECT client{};
  GetClientRect(page.window, &client);
  const int dx = std::max(0L, client.right - page.design.cx);
  const int dy = std::max(0L, client.bottom - page.design.cy);
  for (const Anchored& a : page.controls) {
    RECT r = a.design;
    if (a.stretchWidth) r.right += dx;
    if (a.moveRight) OffsetRect(&r, dx, 0);
    if (a.stretchHeight) r.bottom += dy;
    if (a.moveDown) OffsetRect(&r, 0, dy);
    MoveWindow(a.control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
}

void TPropertyDialog::ShowPage(int index) {
  // The focus may not stay on a control of a page going out of sight: Enter would press it.
  HWND focus = GetFocus();
  for (int i = 0; i < 3; ++i) {
    if (!pages_[i].window || i == index) continue;
    if (focus && IsChild(pages_[i].window, focus)) SetFocus(tabs_);
    ShowWindow(pages_[i].window, SW_HIDE);
  }
  if (pages_[index].window) ShowWindow(pages_[index].window, SW_SHOW);
}

void TPropertyDialog::Show() {
  if (!handle_) return;
  ShowWindow(handle_, IsIconic(handle_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(handle_);
  BringWindowToTop(handle_);
}

bool TPropertyDialog::PreTranslateMessage(MSG& message) {
  if (!handle_ || (message.hwnd != handle_ && !IsChild(handle_, message.hwnd))) return false;
  if (message.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 &&
      (message.wParam == VK_TAB || message.wParam == VK_NEXT || message.wParam == VK_PRIOR)) {
    // Ctrl+Tab and Ctrl+PageDown go to the next page, with Shift or PageUp to the previous.
    const bool back = message.wParam == VK_PRIOR ||
                      (message.wParam == VK_TAB && GetKeyState(VK_SHIFT) < 0);
    const int page = (TabCtrl_GetCurSel(tabs_) + (back ? 2 : 1)) % 3;
    TabCtrl_SetCurSel(tabs_, page);
    ShowPage(page);
    return true;
  }
  return IsDialogMessageW(handle_, &message) != FALSE;
}

void TPropertyDialog::SetText(HWND page, int id, const std::string& text) {
  ui::SetWindowTextUtf8(GetDlgItem(page, id), text);
}

void TPropertyDialog::SetLinkLabel(Link link, const LinkField& field) {
  LinkLabel& l = links_[link];
  l.target = field.target;
  l.linked = field.Linked();
  l.hot = false;
  ui::SetWindowTextUtf8(l.label, field.text);
  SendMessageW(l.label, WM_SETFONT, reinterpret_cast<WPARAM>(l.linked ? linkFont_ : font_), FALSE);
  EnableWindow(l.label, field.Enabled());
  InvalidateRect(l.label, nullptr, TRUE);
}

void TPropertyDialog::SetProgram(const TProgram* program) {
  if (!handle_) return;
  content_ = ReadPropertyContent(program, registry_);
  const PropertyContent& c = content_;
  HWND general = pages_[0].window, details = pages_[1].window, patches = pages_[2].window;
  SetText(general, IDC_GENERAL_NAME, c.name);
  SetText(general, IDC_GENERAL_VERSION, c.version);
  SetText(general, IDC_GENERAL_CONTACT, c.contact);
  SetText(general, IDC_GENERAL_TELEPHONE, c.telephone);
  SetText(general, IDC_GENERAL_COMMENTS, c.comments);
  SetLinkLabel(kPublisher, c.publisher);
  SetLinkLabel(kHelpLink, c.helpLink);
  SetLinkLabel(kUpdateInfo, c.updateInfo);
  SetLinkLabel(kReadme, c.readme);
  SetLinkLabel(kInstallLocation, c.installLocation);
  CheckDlgButton(general, IDC_GENERAL_NOREMOVE, c.noRemove ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(general, IDC_GENERAL_NOMODIFY, c.noModify ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(general, IDC_GENERAL_NOREPAIR, c.noRepair ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(GetDlgItem(general, IDC_GENERAL_EDITCOMMENT), c.entry.has_value());

  SetText(details, IDC_DETAILS_NAME, c.name);
  SetText(details, IDC_DETAILS_ROOT, c.registryRoot);
  SetText(details, IDC_DETAILS_KEY, c.keyName);
  SetText(details, IDC_DETAILS_SLOWINFOCACHE, c.entry ? c.slowInfoCache : "");
  SetText(details, IDC_DETAILS_INSTALLER, c.entry ? c.windowsInstaller : "");
  SetText(details, IDC_DETAILS_FILENAME, c.fileName);
  FillFileList();

  SetText(patches, IDC_PATCHES_NAME, c.name);
  FillPatchList();
}

void TPropertyDialog::FillFileList() {
  HWND list = GetDlgItem(pages_[1].window, IDC_DETAILS_FILELIST);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  for (std::size_t i = 0; i < content_.files.size(); ++i) {
    const RecordedFile& f = content_.files[i];
    AddRow(list, {f.fileName, f.location, f.version, f.buildDate}, static_cast<LPARAM>(i));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void TPropertyDialog::FillPatchList() {
  HWND list = GetDlgItem(pages_[2].window, IDC_PATCHES_LIST);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  for (std::size_t i = 0; i < content_.patches.size(); ++i) {
    const PatchRecord& p = content_.patches[i];
    AddRow(list,
           {p.displayName, p.installed, p.moreInfoUrl, p.uninstallable ? "可能" : "不可能",
            p.patchCode, p.uninstallCommand},
           static_cast<LPARAM>(i));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  if (ListView_GetItemCount(list) > 0)
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView2Change();  // also when the list is empty: the details show no patch
}

void TPropertyDialog::ListView2Change() {
  HWND page = pages_[2].window;
  HWND list = GetDlgItem(page, IDC_PATCHES_LIST);
  const int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  const PatchRecord* patch = nullptr;
  if (row >= 0 && ListView_GetItem(list, &item) && item.lParam >= 0 &&
      static_cast<std::size_t>(item.lParam) < content_.patches.size())
    patch = &content_.patches[static_cast<std::size_t>(item.lParam)];
  if (!patch) {
    SetLinkLabel(kPatchSupport, {});
    SetText(page, IDC_PATCHES_UPDATEID, "");
    ShowWindow(GetDlgItem(page, IDC_PATCHES_NOTE), SW_HIDE);
    return;
  }
  SetLinkLabel(kPatchSupport, {patch->moreInfoUrl, patch->moreInfoUrl});
  SetText(page, IDC_PATCHES_UPDATEID, patch->patchCode);
  ShowWindow(GetDlgItem(page, IDC_PATCHES_NOTE), patch->uninstallCommand.empty() ? SW_HIDE : SW_SHOW);
}

int TPropertyDialog::LinkOf(HWND label) const {
  for (int i = 0; i < kLinkCount; ++i)
    if (links_[i].label == label) return i;
  return -1;
}

void TPropertyDialog::LinkLabelClick(int link) {
  if (link < 0 || !links_[link].linked) return;
  // Copies: a confirmation below runs its own message loop.
  const std::string target = links_[link].target;
  const HWND owner = handle_;
  const LinkAction action = ClassifyLinkTarget(target, links_[link].allowMailto, system_);
  switch (action) {
    case LinkAction::ConfirmProgram:
      if (ui::MessageBoxUtf8(owner, ProgramLinkWarning(target), "警告",
                             MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
        return;
      [[fallthrough]];
    case LinkAction::OpenWeb:
    case LinkAction::OpenFolder:
    case LinkAction::OpenDocument: {
      // A folder ends with a backslash: the shell opens it, never a program named like it.
      std::string open = target;
      if (action == LinkAction::OpenFolder && open.back() != '\\') open += '\\';
      // A target that cannot be opened fails silently.
      ShellExecuteW(nullptr, L"open", Widen(open).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      return;
    }
    case LinkAction::CopyOnly:
      // Not something to open: the text goes to the clipboard instead.
      CopyToClipboard(owner, target);
      return;
  }
}

void TPropertyDialog::LinkLabelMouseUp(int link, bool right, POINT client) {
  if (!right) {
    rememberedLink_ = -1;
    return;
  }
  rememberedLink_ = link;
  POINT screen = client;
  ClientToScreen(links_[link].label, &screen);
  TrackPopupMenu(linkMenu_, TPM_RIGHTBUTTON, screen.x, screen.y, 0, handle_, nullptr);
}

void TPropertyDialog::ActCopyLinkExecute() {
  if (rememberedLink_ < 0) return;
  if (!links_[rememberedLink_].target.empty())
    CopyToClipboard(handle_, links_[rememberedLink_].target);
}

void TPropertyDialog::Button2Click() {
  if (!content_.entry) return;
  // The identity of the program shown now: the main list may move on while the box is open.
  const EntryIdentity entry = *content_.entry;
  const EditCommentHandler edit = editComment_;
  if (ui::MessageBoxUtf8(handle_, "この操作はレジストリを変更します。続行しますか ?", "確認",
                         MB_YESNO | MB_ICONWARNING) != IDYES)
    return;
  if (destroyed_) return;
  if (edit) edit(entry);
}

INT_PTR TPropertyDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  PropertyBusy busy(this);
  switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL: DestroyWindow(handle_); return TRUE;  // "閉じる", Enter, Esc
        case IDM_PROPERTY_COPYLINK: ActCopyLinkExecute(); return TRUE;
        default: break;
      }
      break;
    case WM_CLOSE: DestroyWindow(handle_); return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE) {
        ShowPage(TabCtrl_GetCurSel(tabs_));
        return TRUE;
      }
      break;
    }
    case WM_SIZE: LayoutForm(); return TRUE;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      if (minimum_.cx) info->ptMinTrackSize = {minimum_.cx, minimum_.cy};
      return TRUE;
    }
    default: break;
  }
  return FALSE;
}

INT_PTR CALLBACK TPropertyDialog::PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(page, DWLP_USER, lParam);
    return TRUE;
  }
  auto* self = reinterpret_cast<TPropertyDialog*>(GetWindowLongPtrW(page, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(page, DWLP_USER, 0);
    return FALSE;
  }
  INT_PTR result = FALSE;
  PropertyBusy busy(self);
  ui::Guarded(page, [&] { result = self->PageMessage(page, message, wParam, lParam); });
  return result;
}

INT_PTR TPropertyDialog::PageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_GENERAL_EDITCOMMENT && HIWORD(wParam) == BN_CLICKED) {
        Button2Click();
        return TRUE;
      }
      if (HIWORD(wParam) == STN_CLICKED) {
        LinkLabelClick(LinkOf(reinterpret_cast<HWND>(lParam)));
        return TRUE;
      }
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        // Enter and Esc reaching a page close the window as they would on the window itself.
        PostMessageW(handle_, WM_COMMAND, wParam, 0);
        return TRUE;
      }
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_PATCHES_LIST && header->code == LVN_ITEMCHANGED) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if (change->uChanged & LVIF_STATE) ListView2Change();
        return TRUE;
      }
      break;
    }
    case WM_ERASEBKGND: {
      // The page and its controls share one background, whatever a theme paints elsewhere.
      RECT client{};
      GetClientRect(page, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
      SetWindowLongPtrW(page, DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      // One background for the page and everything on it, themed or not.
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      const int link = message == WM_CTLCOLORSTATIC ? LinkOf(reinterpret_cast<HWND>(lParam)) : -1;
      if (link >= 0) {
        const LinkLabel& l = links_[link];
        SetTextColor(dc, !l.linked ? kPlainColor : l.hot ? kHotLinkColor : kLinkColor);
        SetBkMode(dc, TRANSPARENT);
      }
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SIZE:
      for (Page& p : pages_)
        if (p.window == page) LayoutPage(p);
      return TRUE;
    default: break;
  }
  return FALSE;
}

LRESULT CALLBACK TPropertyDialog::LinkProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR data) {
  auto* self = reinterpret_cast<TPropertyDialog*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(label, LinkProc, id);
    return DefSubclassProc(label, message, wParam, lParam);
  }
  const int link = self->LinkOf(label);
  if (link < 0 || !self->links_[link].linked) return DefSubclassProc(label, message, wParam, lParam);
  LinkLabel& l = self->links_[link];
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_MOUSEMOVE:
      if (!l.hot) {  // LinkLabelMouseEnter
        l.hot = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, label, 0};
        TrackMouseEvent(&track);
        InvalidateRect(label, nullptr, TRUE);
      }
      break;
    case WM_MOUSELEAVE:  // LinkLabelMouseLeave
      l.hot = false;
      InvalidateRect(label, nullptr, TRUE);
      break;
    case WM_RBUTTONUP:
    case WM_LBUTTONUP:
    case WM_MBUTTONUP: {
      PropertyBusy busy(self);
      const LRESULT result = DefSubclassProc(label, message, wParam, lParam);
      ui::Guarded(label, [&] {
        self->LinkLabelMouseUp(link, message == WM_RBUTTONUP,
                               POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      });
      return result;
    }
    default: break;
  }
  return DefSubclassProc(label, message, wParam, lParam);
}

}  // namespace orv
