#include "dialogs/property_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include "dialogs/link_target.h"
#include "dialogs/property_dialog_ids.h"
#include "platform/win32/wide.h"
#include "ui/clipboard.h"
#include "ui/colors.h"
#include "ui/dpi.h"
#include "ui/list_view.h"
#include "ui/message_box.h"
#include "ui/text.h"

namespace orv {

TPropertyDialog* PropertyDialog = nullptr;

namespace {

enum PageIndex { kGeneral, kDetails, kPatches };
constexpr int kPageTemplates[3] = {IDD_PROPERTY_GENERAL, IDD_PROPERTY_DETAILS, IDD_PROPERTY_PATCHES};
constexpr int kPageIds[3] = {IDC_PROPERTY_GENERAL, IDC_PROPERTY_DETAILS, IDC_PROPERTY_PATCHES};
constexpr const char* kPageCaptions[3] = {"全般", "詳細", "パッチ情報"};
constexpr int kNameIds[3] = {IDC_GENERAL_NAME, IDC_DETAILS_NAME, IDC_PATCHES_NAME};

// The link labels, on which page, and whether a mail address may open.
struct LinkLabelOf {
  int page;
  int id;
  bool allowMailto;
};
constexpr LinkLabelOf kLinkLabels[] = {
    {kGeneral, IDC_GENERAL_PUBLISHER, true},  {kGeneral, IDC_GENERAL_HELPLINK, true},
    {kGeneral, IDC_GENERAL_UPDATEINFO, true}, {kGeneral, IDC_GENERAL_README, false},
    {kGeneral, IDC_GENERAL_INSTALLLOCATION, false}, {kPatches, IDC_PATCHES_SUPPORT, true},
};

}  // namespace

TPropertyDialog::TPropertyDialog(Registry& registry, SystemServices& system, HFONT ownerFont,
                                 EditCommentHandler editComment)
    : registry_(registry), system_(system), ownerFont_(ownerFont), editComment_(std::move(editComment)),
      pages_{Page{*this}, Page{*this}, Page{*this}}, links_(IDM_PROPERTY_COPYLINK) {}

TPropertyDialog* TPropertyDialog::Create(HINSTANCE instance, HWND owner, HFONT ownerFont,
                                         Registry& registry, SystemServices& system,
                                         EditCommentHandler editComment) {
  auto* dialog = new TPropertyDialog(registry, system, ownerFont, std::move(editComment));
  if (!dialog->CreateFromTemplate(instance, IDD_PROPERTY, owner)) {
    delete dialog;  // no window stands: nothing else frees it
    return nullptr;
  }
  dialog->RegisterProgramWindow();
  for (int i = 0; i < 3; ++i) {
    Page& page = dialog->pages_[i];
    if (!page.Create(instance, kPageTemplates[i], dialog->Handle(), kPageIds[i])) continue;
    // Above the page control, which would paint over it otherwise; as in a property sheet the
    // page's controls come first in the tab order, then the page tabs and the close button.
    SetWindowPos(page.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  // The object frees itself with its window only once it stands: until then a window gone
  // during the set-up leaves the object to this function.
  const HWND window = dialog->Handle();
  try {
    dialog->FormCreate(owner);
  } catch (...) {
    if (IsWindow(window)) DestroyWindow(window);
    delete dialog;
    throw;
  }
  if (!IsWindow(window)) {
    delete dialog;
    return nullptr;
  }
  dialog->FreeWithWindow();
  return dialog;
}

void TPropertyDialog::FormCreate(HWND owner) {
  tabs_ = Item(IDC_PROPERTY_PAGES);
  font_.Reset(ui::CopyFont(ownerFont_));
  boldFont_.Reset(ui::CopyFont(ownerFont_, ui::kBold));
  noteFont_.Reset(ui::CopyFont(ownerFont_, ui::kUnderline));
  ui::SetFontOfWindow(Handle(), font_.Get());
  for (int i = 0; i < 3; ++i)
    SendMessageW(Control(i, kNameIds[i]), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.Get()), FALSE);
  SendMessageW(Control(kPatches, IDC_PATCHES_NOTE), WM_SETFONT, reinterpret_cast<WPARAM>(noteFont_.Get()), FALSE);
  for (const LinkLabelOf& link : kLinkLabels) links_.Attach(Control(link.page, link.id));
  hints_.Add(Item(IDOK), "閉じる");
  hints_.Add(Control(kGeneral, IDC_GENERAL_EDITCOMMENT), "メモを編集");

  for (int i = 0; i < 3; ++i) {
    std::wstring caption = Widen(kPageCaptions[i]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    TabCtrl_InsertItem(tabs_, i, &item);
  }
  const UINT dpi = ui::WindowDpi(Handle());
  const DWORD listStyle = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
  const ui::ListView files(Control(kDetails, IDC_DETAILS_FILELIST));
  files.SetExtendedStyle(listStyle, listStyle);
  for (auto [caption, width] : {std::pair{"ファイル名", 90}, {"場所", 150}, {"バージョン", 100}, {"ビルド日時", 120}})
    files.AddColumn(caption, ui::Scale(width, dpi));
  const ui::ListView patches(Control(kPatches, IDC_PATCHES_LIST));
  patches.SetExtendedStyle(listStyle, listStyle);
  for (auto [caption, width] : {std::pair{"名前", 300}, {"インストール日", 80}, {"サポート情報", 150},
                                {"アンインストール", 80}, {"更新ID", 80}, {"", 0}})
    patches.AddColumn(caption, ui::Scale(width, dpi));

  RECT window{};
  GetWindowRect(Handle(), &window);
  minimum_ = {window.right - window.left, window.bottom - window.top};
  for (Page& page : pages_) {
    if (!page.Handle()) continue;
    page.layout.Begin(page.Handle());
    page.layout.AddByGeometry(ui::Scale(12, dpi));
  }
  LayoutForm();
  // Made at the template's size: on a small screen or at a high DPI it may not fit.
  ui::FitToWorkArea(Handle(), owner);
  TabCtrl_SetCurSel(tabs_, 0);
  ShowPage(0);
  SetProgram(nullptr);
}

void TPropertyDialog::LayoutForm() {
  if (!tabs_) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  const int margin = ui::Scale(6, ui::WindowDpi(Handle()));
  HWND close = Item(IDOK);
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
  for (Page& page : pages_)
    if (page.Handle())
      MoveWindow(page.Handle(), display.left, display.top, display.right - display.left,
                 display.bottom - display.top, TRUE);  // the page's WM_SIZE lays it out
  hints_.Follow();
}

void TPropertyDialog::ShowPage(int index) {
  // The focus may not stay on a control of a page going out of sight: Enter would press it.
  HWND focus = GetFocus();
  for (int i = 0; i < 3; ++i) {
    if (!pages_[i].Handle() || i == index) continue;
    if (focus && IsChild(pages_[i].Handle(), focus)) SetFocus(tabs_);
    ShowWindow(pages_[i].Handle(), SW_HIDE);
  }
  if (pages_[index].Handle()) ShowWindow(pages_[index].Handle(), SW_SHOW);
}

void TPropertyDialog::Show() {
  if (!Handle()) return;
  ShowWindow(Handle(), IsIconic(Handle()) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(Handle());
  BringWindowToTop(Handle());
}

bool TPropertyDialog::PreTranslateMessage(MSG& message) {
  HWND window = Handle();
  if (!window || (message.hwnd != window && !IsChild(window, message.hwnd))) return false;
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
  return IsDialogMessageW(window, &message) != FALSE;
}

void TPropertyDialog::SetText(const Page& page, int id, const std::string& text) {
  ui::SetWindowTextUtf8(GetDlgItem(page.Handle(), id), text);
}

void TPropertyDialog::SetLinkLabel(HWND label, const LinkField& field) {
  links_.Set(label, field.text, field.target, field.Linked(), field.Enabled());
}

void TPropertyDialog::SetProgram(const TProgram* program) {
  if (!Handle()) return;
  content_ = ReadPropertyContent(program, registry_);
  const PropertyContent& c = content_;
  const Page &general = pages_[kGeneral], &details = pages_[kDetails], &patches = pages_[kPatches];
  SetText(general, IDC_GENERAL_NAME, c.name);
  SetText(general, IDC_GENERAL_VERSION, c.version);
  SetText(general, IDC_GENERAL_CONTACT, c.contact);
  SetText(general, IDC_GENERAL_TELEPHONE, c.telephone);
  SetText(general, IDC_GENERAL_COMMENTS, c.comments);
  SetLinkLabel(Control(kGeneral, IDC_GENERAL_PUBLISHER), c.publisher);
  SetLinkLabel(Control(kGeneral, IDC_GENERAL_HELPLINK), c.helpLink);
  SetLinkLabel(Control(kGeneral, IDC_GENERAL_UPDATEINFO), c.updateInfo);
  SetLinkLabel(Control(kGeneral, IDC_GENERAL_README), c.readme);
  SetLinkLabel(Control(kGeneral, IDC_GENERAL_INSTALLLOCATION), c.installLocation);
  CheckDlgButton(general.Handle(), IDC_GENERAL_NOREMOVE, c.noRemove ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(general.Handle(), IDC_GENERAL_NOMODIFY, c.noModify ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(general.Handle(), IDC_GENERAL_NOREPAIR, c.noRepair ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(Control(kGeneral, IDC_GENERAL_EDITCOMMENT), c.entry.has_value());

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
  std::vector<std::vector<std::string>> rows;
  for (const RecordedFile& f : content_.files) rows.push_back({f.fileName, f.location, f.version, f.buildDate});
  ui::ListView(Control(kDetails, IDC_DETAILS_FILELIST)).ReplaceRows(rows);
}

void TPropertyDialog::FillPatchList() {
  std::vector<std::vector<std::string>> rows;
  for (const PatchRecord& p : content_.patches)
    rows.push_back({p.displayName, p.installed, p.moreInfoUrl, p.uninstallable ? "可能" : "不可能",
                    p.patchCode, p.uninstallCommand});
  const ui::ListView list(Control(kPatches, IDC_PATCHES_LIST));
  list.ReplaceRows(rows);
  if (list.ItemCount() > 0)
    ListView_SetItemState(list.Handle(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  PatchListChange();  // also when the list is empty: the details show no patch
}

void TPropertyDialog::PatchListChange() {
  const ui::ListView list(Control(kPatches, IDC_PATCHES_LIST));
  const LPARAM index = list.ItemData(list.Selected());
  const PatchRecord* patch = index >= 0 && static_cast<std::size_t>(index) < content_.patches.size()
                                 ? &content_.patches[static_cast<std::size_t>(index)]
                                 : nullptr;
  const Page& page = pages_[kPatches];
  HWND note = Control(kPatches, IDC_PATCHES_NOTE);
  SetLinkLabel(Control(kPatches, IDC_PATCHES_SUPPORT),
               patch ? LinkField{patch->moreInfoUrl, patch->moreInfoUrl} : LinkField{});
  SetText(page, IDC_PATCHES_UPDATEID, patch ? patch->patchCode : "");
  ShowWindow(note, patch && !patch->uninstallCommand.empty() ? SW_SHOW : SW_HIDE);
}

void TPropertyDialog::LinkLabelClick(HWND label) {
  if (!links_.Linked(label)) return;
  bool allowMailto = false;
  for (const LinkLabelOf& link : kLinkLabels)
    if (Control(link.page, link.id) == label) allowMailto = link.allowMailto;
  // Copies: a confirmation below runs its own message loop.
  const std::string target = links_.Target(label);
  const HWND owner = Handle();
  const LinkAction action = ClassifyLinkTarget(target, allowMailto, system_);
  switch (action) {
    case LinkAction::ConfirmProgram:
      if (!ui::AskWarning(owner, ProgramLinkWarning(target), ui::WarningButtons::YesNo)) return;
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
      ui::CopyTextToClipboard(owner, target);
      return;
  }
}

void TPropertyDialog::EditCommentButtonClick() {
  if (!content_.entry) return;
  // The identity of the program shown now: the main list may move on while the box is open.
  const EntryIdentity entry = *content_.entry;
  const EditCommentHandler edit = editComment_;
  if (!ui::Confirm(Handle(), "この操作はレジストリを変更します。続行しますか ?", ui::ConfirmIcon::Warning))
    return;
  if (Destroyed()) return;
  if (edit) edit(entry);
}

ui::Answer TPropertyDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL: DestroyWindow(Handle()); return TRUE;  // "閉じる", Enter, Esc
        default: return links_.OnCommand(Handle(), LOWORD(wParam)) ? ui::Answer(TRUE) : ui::Answer();
      }
    case WM_CLOSE: DestroyWindow(Handle()); return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom != tabs_ || header->code != TCN_SELCHANGE) return {};
      ShowPage(TabCtrl_GetCurSel(tabs_));
      return TRUE;
    }
    case WM_SIZE: LayoutForm(); return TRUE;
    case WM_GETMINMAXINFO: ui::SetMinimumTrackSize(Handle(), lParam, minimum_); return TRUE;
    default: return {};
  }
}

void TPropertyDialog::OnDestroyed() {
  if (PropertyDialog == this) PropertyDialog = nullptr;
}

ui::Answer TPropertyDialog::PageMessage(Page& page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_GENERAL_EDITCOMMENT && HIWORD(wParam) == BN_CLICKED) {
        EditCommentButtonClick();
        return TRUE;
      }
      if (HIWORD(wParam) == STN_CLICKED) {
        LinkLabelClick(reinterpret_cast<HWND>(lParam));
        return TRUE;
      }
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        // Enter and Esc reaching a page close the window as they would on the window itself.
        PostMessageW(Handle(), WM_COMMAND, wParam, 0);
        return TRUE;
      }
      return {};
    case WM_CONTEXTMENU:
      if (!links_.OnContextMenu(Handle(), reinterpret_cast<HWND>(wParam), lParam)) return {};
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom != IDC_PATCHES_LIST || header->code != LVN_ITEMCHANGED) return {};
      if (reinterpret_cast<const NMLISTVIEW*>(lParam)->uChanged & LVIF_STATE) PatchListChange();
      return TRUE;
    }
    case WM_ERASEBKGND: {
      // The page and its controls share one background, whatever a theme paints elsewhere.
      RECT client{};
      GetClientRect(page.Handle(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, ui::colors::DialogBackgroundBrush());
      return TRUE;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wParam), ui::colors::DialogBackground());
      return reinterpret_cast<LRESULT>(ui::colors::DialogBackgroundBrush());
    case WM_SIZE: page.layout.Apply(); return TRUE;
    default: return {};
  }
}

}  // namespace orv
