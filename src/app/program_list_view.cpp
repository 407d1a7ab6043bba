// Filling the owner-data list from the records: full refresh, tab redisplay, cell texts.
#include <algorithm>
#include <functional>

#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/program_rows.h"
#include "catalogue/program_icons.h"
#include "catalogue/uninstall_scan.h"
#include "platform/win32/wide.h"
#include "ui/window.h"

namespace orv {
namespace {

constexpr int kLockImage = 0;
constexpr int kNewImage = 1;

// Shows the wait cursor for its lifetime, also when the work fails.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

}  // namespace

void TForm1::CreateListImages() {
  const int size = SmallImageSize();
  HIMAGELIST old = listImages_;
  listImages_ = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 0, 4);
  ListView_SetImageList(programList_, listImages_, LVSIL_SMALL);
  if (old) ImageList_Destroy(old);  // the list shares its image lists: they are ours to free
  CreateSortImages();
}

void TForm1::ReloadStatusImages() {
  ImageList_RemoveAll(listImages_);
  const int size = SmallImageSize();
  for (const wchar_t* name : {L"ZLOCKICON", L"ZNEWICON"}) {
    HICON icon = static_cast<HICON>(LoadImageW(instance_, name, IMAGE_ICON, size, size, 0));
    ImageList_AddIcon(listImages_, icon);
    if (icon) DestroyIcon(icon);
  }
}

void TForm1::ActRefreshExecute() { RefreshPrograms(true); }

void TForm1::RefreshPrograms(bool rereadAll) {
  WaitCursor wait;
  SetWatchTimer(false);
  struct Restart {
    TForm1* form;
    ~Restart() { form->SetWatchTimer(true); }
  } restart{this};
  // Records are kept only from a whole scan: a partial one would read as removed entries.
  const bool keepUnchanged = !rereadAll && scanComplete_ && !programs_->empty();
  // The marks of the listed programs survive the rescan through the store; a list that a
  // failed scan left short only adds to it.
  if (!programs_->empty()) {
    if (scanComplete_)
      RebuildFromPrograms(*extInfoList_, *programs_);
    else
      MergeFromPrograms(*extInfoList_, *programs_);
  }
  ReloadStatusImages();
  const bool loadIcons = actions_.IsChecked(kCmdStngLoadIcon);
  StoreAnnotator annotate(*extInfoList_);
  ScanContext context{registry_, system_, std::ref(annotate), {}};
  if (loadIcons) {
    context.loadIcon = [this](const TProgram& program) -> std::int32_t {
      if (program.SystemComponent) return -1;
      HICON icon = LoadProgramIcon(&program, system_);
      if (!icon) return -1;
      int index = ImageList_AddIcon(listImages_, icon);
      DestroyIcon(icon);
      return index;
    };
  }
  // The rows keep their old positions until ShowTab rebuilds them, so the selection and
  // scroll position survive; nothing paints in between, and a failed scan still rebuilds.
  scanComplete_ = false;
  try {
    // The hooks (icons, annotations) run here, on this thread and in scan order.
    ScanReads reads = firstReads_.valid()
                          ? firstReads_.get()
                          : ReadUninstallEntries(
                                registry_, system_, 0,
                                {std::begin(kAllRegistryRoots), std::end(kAllRegistryRoots)},
                                keepUnchanged ? programs_.get() : nullptr);
    programs_->clear();
    FinishScan(context, reads, *programs_);
    scanComplete_ = true;
  } catch (...) {
    ShowTab(TabCtrl_GetCurSel(tabStrip_));  // what was read so far, never a stale position
    throw;
  }
  ShowTab(TabCtrl_GetCurSel(tabStrip_));
}

void TForm1::ShowTab(int tab) {
  const int selected = ListView_GetNextItem(programList_, -1, LVNI_SELECTED);
  int top = -1, rowHeight = 0;
  if (ListView_GetItemCount(programList_) > 0) {
    top = ListView_GetTopIndex(programList_);
    RECT rect{};
    if (ListView_GetItemRect(programList_, top, &rect, LVIR_BOUNDS)) rowHeight = rect.bottom - rect.top;
  }
  const bool refreshingShownTab = tab == shownTab_;
  if (tab == kTabApplications || tab == kTabUpdates) {
    listPanelVisible_ = true;
    ShowPrograms(programs_.get(), tab);
  } else {
    listPanelVisible_ = false;
  }
  LayoutControls();
  actions_.SetEnabled(kCmdRemoveRegEntry,
                         ListView_GetNextItem(programList_, -1, LVNI_SELECTED) >= 0);
  UpdateProgramCount();
  const int count = static_cast<int>(rows_.size());
  if (refreshingShownTab) {
    // By position: after a rescan another program may stand there.
    if (selected >= 0 && selected < count) {
      ListView_SetItemState(programList_, selected, LVIS_SELECTED | LVIS_FOCUSED,
                            LVIS_SELECTED | LVIS_FOCUSED);
      ListView_SetSelectionMark(programList_, selected);
    }
    const int nowTop = ListView_GetTopIndex(programList_);
    if (top > 0 && top != nowTop) ListView_Scroll(programList_, 0, rowHeight * (top - nowTop));
  } else if (count > 0) {
    ListView_SetItemState(programList_, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetSelectionMark(programList_, 0);
    // Another tab starts at its top, where its selected first row is.
    ListView_EnsureVisible(programList_, 0, FALSE);
  }
  shownTab_ = tab;
}

void TForm1::ShowPrograms(const ProgramList* programs, int tab) {
  SendMessageW(programList_, WM_SETREDRAW, FALSE, 0);
  struct Resume {
    HWND list;
    ~Resume() {
      SendMessageW(list, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(list, nullptr, TRUE);
    }
  } resume{programList_};
  {
    // Filling fires no change events; the handler runs once at the end.
    changeHandlerAttached_ = false;
    struct Reattach {
      bool& attached;
      ~Reattach() { attached = true; }
    } reattach{changeHandlerAttached_};
    ClearListSelection();
    rows_.clear();
    if (programs)
      rows_ = BuildTabRows(*programs, tab, actions_.IsChecked(kCmdStngSysComp));
    ListView_SetItemCountEx(programList_, static_cast<int>(rows_.size()), LVSICF_NOSCROLL);
  }
  // The sort ends with the change handler; without one it runs here, once either way.
  if (sortState_ != 0)
    SortByColumn(sortState_);
  else
    ProgramListChange();
}

void TForm1::UpdateProgramCount() {
  try {
    ui::SetWindowTextUtf8(countPanel_, ProgramCountText(rows_.size()));
  } catch (...) {
    SetWindowTextW(countPanel_, L"");
  }
}

void TForm1::FillDisplayInfo(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (!programs_ || !tagList_) return;  // the window is being destroyed
  if (item.iItem < 0 || item.iItem >= static_cast<int>(rows_.size())) return;
  const int position = rows_[static_cast<std::size_t>(item.iItem)];
  if (position < 0 || position >= static_cast<int>(programs_->size())) return;
  const TProgram& program = (*programs_)[static_cast<std::size_t>(position)];
  const int column = item.iSubItem >= 0 && item.iSubItem < static_cast<int>(columnIds_.size())
                         ? columnIds_[static_cast<std::size_t>(item.iSubItem)]
                         : -1;
  if (item.mask & LVIF_TEXT) {
    cellBuffer_ = Widen(CellText(program, column, *tagList_, system_));
    if (item.pszText && item.cchTextMax > 0) {
      std::size_t n = std::min<std::size_t>(cellBuffer_.size(), item.cchTextMax - 1);
      std::copy_n(cellBuffer_.c_str(), n, item.pszText);
      item.pszText[n] = L'\0';
    }
  }
  if (item.mask & LVIF_IMAGE) {
    if (column == kColStatus)
      item.iImage = !program.ChangeAllowed ? kLockImage : program.IsNew ? kNewImage : -1;
    else if (item.iSubItem == 0)
      item.iImage = actions_.IsChecked(kCmdStngLoadIcon) ? program.IconIndex : -1;
    else
      item.iImage = -1;
  }
}

void TForm1::ApplyColumnSetting() {
  SendMessageW(programList_, WM_SETREDRAW, FALSE, 0);
  HWND header = ListView_GetHeader(programList_);
  while (Header_GetItemCount(header) > 0) ListView_DeleteColumn(programList_, 0);
  columnIds_ = columnSetting_->ShownColumnIds();
  for (std::size_t i = 0; i < columnIds_.size(); ++i) {
    const TLvColumn& column = columnSetting_->Items(columnIds_[i]);
    std::wstring caption = column.Id == kColStatus ? L"" : Widen(column.Caption);
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    lvc.pszText = caption.data();
    lvc.cx = ui::Scale(column.Id == kColStatus ? kStatusColumnWidth : column.Width, dpi_);
    lvc.iSubItem = static_cast<int>(i);
    ListView_InsertColumn(programList_, static_cast<int>(i), &lvc);
  }
  SendMessageW(programList_, WM_SETREDRAW, TRUE, 0);
}

void TForm1::ReadColumnWidths() {
  for (std::size_t i = 0; i < columnIds_.size(); ++i)
    columnSetting_->Items(columnIds_[i]).Width =
        MulDiv(ListView_GetColumnWidth(programList_, static_cast<int>(i)), 96, static_cast<int>(dpi_));
}

bool TForm1::IsStatusColumn(int position) const {
  return position >= 0 && position < static_cast<int>(columnIds_.size()) &&
         columnIds_[static_cast<std::size_t>(position)] == kColStatus;
}

LRESULT CALLBACK TForm1::StatusColumnGuard(HWND header, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR data) {
  // A double click on the divider, Ctrl+Numpad+ (every column sized to fit) and any program's
  // LVM_SETCOLUMNWIDTH all come here as a new width for the header's item.
  auto* self = reinterpret_cast<TForm1*>(data);
  if ((message == HDM_SETITEMW || message == HDM_SETITEMA) && lParam && self &&
      self->IsStatusColumn(static_cast<int>(wParam))) {
    HDITEMW item = *reinterpret_cast<const HDITEMW*>(lParam);  // same layout for both forms
    if (item.mask & HDI_WIDTH) {
      item.cxy = ui::Scale(kStatusColumnWidth, self->dpi_);
      return DefSubclassProc(header, message, wParam, reinterpret_cast<LPARAM>(&item));
    }
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(header, StatusColumnGuard, 1);
  return DefSubclassProc(header, message, wParam, lParam);
}

int TForm1::FindRowByPrefix(const std::wstring& prefix, int start) const {
  const int count = static_cast<int>(rows_.size());
  if (prefix.empty() || count == 0) return -1;
  if (start < 0 || start >= count) start = 0;
  for (int step = 0; step < count; ++step) {
    const int row = (start + step) % count;
    const TProgram* program = ProgramOfItem(row);
    if (!program) continue;
    const std::wstring name = Widen(program->DisplayName.empty() ? program->KeyName : program->DisplayName);
    if (name.size() < prefix.size()) continue;
    if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE,
                       name.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                       static_cast<int>(prefix.size())) == CSTR_EQUAL)
      return row;
  }
  return -1;
}

void TForm1::SelectTab(int tab) {
  // Programmatic selection sends no TCN_SELCHANGE: follow it like the user's.
  if (TabCtrl_GetCurSel(tabStrip_) == tab) return;
  TabCtrl_SetCurSel(tabStrip_, tab);
  TabStripChange(tab);
}

void TForm1::TabStripChange(int newTab) { ShowTab(newTab); }

LRESULT TForm1::HandleNotify(NMHDR* header) {
  if (header->hwndFrom == programList_) {
    switch (header->code) {
      case LVN_GETDISPINFOW:
        try {
          FillDisplayInfo(*reinterpret_cast<NMLVDISPINFOW*>(header));
        } catch (...) {
          ReportDrawingFailure();
        }
        return 0;
      case LVN_ODFINDITEMW: {
        // The list's own type-ahead: an owner-data list answers it itself.
        const auto& find = reinterpret_cast<NMLVFINDITEMW*>(header)->lvfi;
        if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.psz) return -1;
        return FindRowByPrefix(find.psz, reinterpret_cast<NMLVFINDITEMW*>(header)->iStart);
      }
      case LVN_ITEMCHANGED:
      case LVN_ODSTATECHANGED: ProgramListChange(); return 0;
      case LVN_COLUMNCLICK:
        ListViewColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        return 0;
      case NM_CUSTOMDRAW:
        try {
          return ListViewCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(header));
        } catch (...) {
          ReportDrawingFailure();
          return CDRF_DODEFAULT;
        }
      default: break;
    }
  } else if (header->hwndFrom == ListView_GetHeader(programList_)) {
    if (header->code == NM_RCLICK) {
      HeaderRightClick();
      return TRUE;
    }
    // The status column cannot be dragged; every other way of sizing it ends in the header's
    // own item change, which StatusColumnGuard keeps at its width.
    auto* nm = reinterpret_cast<NMHEADERW*>(header);
    if (IsStatusColumn(nm->iItem) && (header->code == HDN_BEGINTRACKW || header->code == HDN_BEGINTRACKA))
      return TRUE;
  } else if (header->hwndFrom == tabStrip_ && header->code == TCN_SELCHANGE) {
    TabStripChange(TabCtrl_GetCurSel(tabStrip_));
    return 0;
  }
  return DefWindowProcW(handle_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(header));
}

}  // namespace orv
