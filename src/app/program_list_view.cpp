// Filling the owner-data list from the records: full refresh, tab redisplay, cell texts.
#include <algorithm>
#include <functional>

#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/program_rows.h"
#include "catalogue/program_icons.h"
#include "catalogue/uninstall_scan.h"
#include "platform/scope_exit.h"
#include "platform/win32/wide.h"
#include "ui/dpi.h"
#include "ui/text.h"

namespace orv {
namespace {

constexpr int kLockImage = 0;
constexpr int kNewImage = 1;

}  // namespace

int TForm1::SmallImageSize() const { return ui::Scale(16, dpi_); }

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
  // The wait cursor and a stopped watch for the refresh, also when it fails.
  const HCURSOR previousCursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  SetWatchTimer(false);
  ScopeExit restore([&] {
    SetWatchTimer(true);
    SetCursor(previousCursor);
  });
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
    ShowTab(CurrentTab());  // what was read so far, never a stale position
    throw;
  }
  ShowTab(CurrentTab());
}

void TForm1::ShowTab(int tab) {
  const ui::ListView list = List();
  const int selected = list.Selected();
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
  UpdateProgramCount();
  const int count = static_cast<int>(rows_.size());
  if (refreshingShownTab) {
    // By position: after a rescan another program may stand there.
    if (selected >= 0 && selected < count) list.Select(selected);
    const int nowTop = ListView_GetTopIndex(programList_);
    if (top > 0 && top != nowTop) ListView_Scroll(programList_, 0, rowHeight * (top - nowTop));
  } else if (count > 0) {
    list.Select(0);
    // Another tab starts at its top, where its selected first row is.
    list.EnsureVisible(0, false);
  }
  shownTab_ = tab;
}

void TForm1::ShowPrograms(const ProgramList* programs, int tab) {
  ui::NoRedraw quiet(programList_);
  {
    // Filling fires no change events; the handler runs once at the end.
    changeHandlerAttached_ = false;
    ScopeExit reattach([this] { changeHandlerAttached_ = true; });
    List().ClearSelection();
    rows_.clear();
    if (programs) rows_ = BuildTabRows(*programs, tab, actions_.IsChecked(kCmdStngSysComp));
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
  const ui::ListView list = List();
  {
    ui::NoRedraw quiet(programList_);
    list.DeleteAllColumns();
    columnIds_ = columnSetting_->ShownColumnIds();
    for (int id : columnIds_) {
      const TLvColumn& column = columnSetting_->Items(id);
      list.AddColumn(id == kColStatus ? std::string() : column.Caption,
                     ui::Scale(id == kColStatus ? kStatusColumnWidth : column.Width, dpi_));
    }
  }
}

void TForm1::ReadColumnWidths() {
  for (std::size_t i = 0; i < columnIds_.size(); ++i)
    columnSetting_->Items(columnIds_[i]).Width =
        ui::Unscale(List().ColumnWidth(static_cast<int>(i)), dpi_);
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
  if (CurrentTab() == tab) return;
  TabCtrl_SetCurSel(tabStrip_, tab);
  TabStripChange(tab);
}

void TForm1::TabStripChange(int newTab) { ShowTab(newTab); }

ui::Answer TForm1::HandleNotify(NMHDR* header) {
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
  } else if (header->hwndFrom == List().Header()) {
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
    TabStripChange(CurrentTab());
    return 0;
  }
  return {};
}

}  // namespace orv
