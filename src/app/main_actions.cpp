// The main window's commands, one row each, and the menus made from them.
//
// A row's menu places: items stand in the order of their places, and a separator parts places
// of different hundreds. A row without a handler is a command not built yet: it stays disabled.
#include <functional>

#include "app/command_ids.h"
#include "app/main_window.h"

namespace orv {

using ui::SubmenuRow;
using Availability = CommandAvailability;

// Tag slot `Slot`: Shift+Ctrl+1 to 5, the captions "Tag1" to "Tag5" until the tags are read.
template <int Slot>
constexpr TForm1::Command TForm1::TagCommand() {
  constexpr const char* captions[kTagCount] = {"Tag1", "Tag2", "Tag3", "Tag4", "Tag5"};
  return {.id = kCmdTag0 + Slot, .caption = captions[Slot], .hint = "タグ",
          .shortcut = {static_cast<WORD>('1' + Slot), true, true}, .slots = {{kMenuTags, 200 + Slot}},
          .execute = [](TForm1& f) { f.ActTagExecute(Slot); }, .enabledBy = &Availability::perProgram};
}

std::span<const TForm1::Command> TForm1::Commands() {
  static const Command commands[] = {
      // "プログラム(&P)"; remove and modify also as the buttons, remove the rightmost
      {.id = kCmdRemoveProgram, .caption = "削除(&R)", .hint = "削除",
       .slots = {{kMenuProgram, 100}, {kMenuList, 100}},
       .execute = [](TForm1& f) { f.ActRemoveProgramExecute(); },
       .enabledBy = &Availability::remove, .button = kIdRemoveButton},
      {.id = kCmdModifyProgram, .caption = "変更(&M)", .hint = "変更",
       .slots = {{kMenuProgram, 101}, {kMenuList, 102}},
       .execute = [](TForm1& f) { f.ActModifyProgramExecute(); },
       .enabledBy = &Availability::modify, .button = kIdModifyButton},
      {.id = kCmdRepairProgram, .caption = "修復(&E)", .hint = "修復",
       .slots = {{kMenuProgram, 102}, {kMenuList, 101}},
       .execute = [](TForm1& f) { f.ActRepairProgramExecute(); },
       .enabledBy = &Availability::repair},
      {.id = kCmdSaveProgList, .caption = "一覧を保存(&S)...", .hint = "一覧を保存",
       .shortcut = {'S', true, false}, .slots = {{kMenuProgram, 200}},
       .execute = [](TForm1& f) { f.ActSaveProgListExecute(); }},
      {.id = kCmdOpenFolder, .caption = "インストール先を開く(&O)...", .hint = "インストール先を開く",
       .shortcut = {'O', true, false}, .slots = {{kMenuProgram, 300}, {kMenuList, 300}},
       .execute = [](TForm1& f) { f.ActOpenFolderExecute(); },
       .enabledBy = &Availability::openFolder},
      {.id = kCmdOpenURLInfoAbout, .caption = "発行元のウェブページを開く(&A)...",
       .hint = "発行元のウェブページを開く", .slots = {{kMenuProgram, 301}, {kMenuList, 301}},
       .execute = [](TForm1& f) { f.ActOpenURLInfoAboutExecute(); },
       .enabledBy = &Availability::openUrlInfoAbout},
      {.id = kCmdExecuteProgram, .caption = "プログラムを実行(&C)...", .hint = "プログラムを実行",
       .slots = {{kMenuProgram, 302}, {kMenuList, 302}},
       .execute = [](TForm1& f) { f.ActExecuteProgramExecute(); },
       .enabledBy = &Availability::executeProgram},
      {.id = kCmdDisableChange, .caption = "変更を禁止(&D)", .hint = "変更を禁止",
       .slots = {{kMenuProgram, 400}, {kMenuList, 400}},
       .execute = [](TForm1& f) { f.ActDisableChangeExecute(); },
       .enabledBy = &Availability::perProgram, .checkedBy = &Availability::locked, .autoCheck = true},
      {.id = kCmdProperty, .caption = "プロパティ(&P)...", .hint = "プロパティ",
       .slots = {{kMenuProgram, 500}, {kMenuList, 500}},
       .execute = [](TForm1& f) { f.ActPropertyExecute(); }, .enabledBy = &Availability::perProgram},
      {.id = kCmdExit, .caption = "終了(&X)", .hint = "終了", .slots = {{kMenuProgram, 600}},
       .execute = [](TForm1& f) { PostMessageW(f.Handle(), WM_CLOSE, 0, 0); }},
      // "タグ(&T)"; the tag items show the tags' captions
      {.id = kCmdTagNone, .caption = "なし(&N)", .hint = "タグなし", .shortcut = {'0', true, true},
       .slots = {{kMenuTags, 100}}, .execute = [](TForm1& f) { f.ActTagExecute(-1); },
       .enabledBy = &Availability::perProgram},
      TagCommand<0>(), TagCommand<1>(), TagCommand<2>(), TagCommand<3>(), TagCommand<4>(),
      {.id = kCmdEditTag, .caption = "編集(&E)...", .hint = "タグを編集", .slots = {{kMenuTags, 300}},
       .execute = [](TForm1& f) { f.ActEditTagExecute(); }},
      // "編集(&E)"
      {.id = kCmdFind, .caption = "検索(&S)...", .hint = "検索", .shortcut = {'F', true, false},
       .slots = {{kMenuEdit, 100}}, .execute = [](TForm1& f) { f.ActFindExecute(); }},
      {.id = kCmdFindNext, .caption = "次を検索(&N)", .hint = "次を検索", .shortcut = {VK_F3, false, false},
       .slots = {{kMenuEdit, 101}}, .execute = [](TForm1& f) { f.ActFindNextExecute(); }},
      {.id = kCmdFindPrev, .caption = "前を検索(&P)", .hint = "前を検索", .shortcut = {VK_F3, false, true},
       .slots = {{kMenuEdit, 102}}, .execute = [](TForm1& f) { f.ActFindPrevExecute(); }},
      {.id = kCmdCopyAppName, .caption = "プログラム名をコピー(&C)", .hint = "プログラム名をコピー",
       .slots = {{kMenuEdit, 200}}, .execute = [](TForm1& f) { f.ActCopyAppNameExecute(); },
       .enabledBy = &Availability::perProgram},
      // "高度な操作(&A)"
      {.id = kCmdRename, .caption = "プログラム名を変更(&R)...", .hint = "プログラム名を変更",
       .slots = {{kMenuAdvanced, 100}}, .execute = [](TForm1& f) { f.ActRenameExecute(); },
       .enabledBy = &Availability::perProgram},
      {.id = kCmdEditComment, .caption = "メモを編集(&E)...", .hint = "メモを編集",
       .slots = {{kMenuAdvanced, 101}}, .execute = [](TForm1& f) { f.ActEditCommentExecute(); },
       .enabledBy = &Availability::perProgram},
      {.id = kCmdRemoveRegEntry, .caption = "レジストリ情報を削除(&M)", .hint = "レジストリ情報を削除",
       .slots = {{kMenuAdvanced, 200}}, .execute = [](TForm1& f) { f.ActRemoveRegEntryExecute(); },
       .enabledBy = &Availability::perProgram},
      {.id = kCmdDeleteSlowInfoCache, .caption = "SlowInfoCacheを削除(&L)", .hint = "SlowInfoCacheを削除",
       .slots = {{kMenuAdvanced, 201}}, .execute = [](TForm1& f) { f.ActDeleteSlowInfoCacheExecute(); },
       .enabledBy = &Availability::perProgram},
      // "表示(&V)"
      {.id = kCmdStngLoadIcon, .caption = "アイコンを読み込む(&L)", .hint = "アイコンを読み込む",
       .slots = {{kMenuView, 100}},
       .execute = [](TForm1& f) { f.actions_.Execute(kCmdRefresh); },  // icons come with a scan
       .autoCheck = true},
      {.id = kCmdStngGridLine, .caption = "グリッドを表示(&G)", .hint = "グリッドを表示",
       .slots = {{kMenuView, 101}}, .execute = [](TForm1& f) { f.ApplyGridLines(); }, .autoCheck = true},
      {.id = kCmdStngStripe, .caption = "ストライプ表示(&S)", .hint = "ストライプ",
       .slots = {{kMenuView, 102}},
       .execute = [](TForm1& f) { InvalidateRect(f.programList_, nullptr, TRUE); }, .autoCheck = true},
      {.id = kCmdStngSysComp, .caption = "システムコンポーネントを表示(&H)",
       .hint = "システムコンポーネントを表示", .slots = {{kMenuView, 200}},
       .execute = [](TForm1& f) { f.ShowTab(f.CurrentTab()); }, .autoCheck = true},
      {.id = kCmdDispItemSetting, .caption = "表示項目の設定(&D)...", .hint = "表示項目の設定",
       .slots = {{kMenuView, 300}, {kMenuHeader, 100}},
       .execute = [](TForm1& f) { f.ActDispItemSettingExecute(); }},
      {.id = kCmdGoNextTab, .caption = "次のタブ(&N)", .hint = "次のタブ", .shortcut = {VK_TAB, true, false},
       .slots = {{kMenuMove, 100}}, .execute = [](TForm1& f) { f.ActGoNextTabExecute(); }},
      {.id = kCmdGoPrevTab, .caption = "前のタブ(&P)", .hint = "前のタブ", .shortcut = {VK_TAB, true, true},
       .slots = {{kMenuMove, 101}}, .execute = [](TForm1& f) { f.ActGoPrevTabExecute(); }},
      {.id = kCmdRefresh, .caption = "最新の情報に更新(&R)", .hint = "最新の情報に更新",
       .shortcut = {VK_F5, false, false}, .slots = {{kMenuView, 401}, {kMenuList, 200}},
       .execute = [](TForm1& f) { f.ActRefreshExecute(); }},
      // "ヘルプ(&H)"
      {.id = kCmdHomePage, .caption = "ホームページ(&H)...", .hint = "ホームページ",
       .slots = {{kMenuHelp, 100}}, .execute = [](TForm1& f) { f.ActHomePageExecute(); }},
      {.id = kCmdVersion, .caption = "バージョン情報(&A)...", .hint = "バージョン情報",
       .slots = {{kMenuHelp, 200}}, .execute = [](TForm1& f) { f.ActVersionExecute(); }},
  };
  return commands;
}

std::span<const SubmenuRow> TForm1::Submenus() {
  static const SubmenuRow submenus[] = {
      {kMenuProgram, "プログラム(&P)", {{kMenuBar, 1}}},
      {kMenuEdit, "編集(&E)", {{kMenuBar, 2}}},
      {kMenuView, "表示(&V)", {{kMenuBar, 3}}},
      {kMenuHelp, "ヘルプ(&H)", {{kMenuBar, 4}}},
      {kMenuTags, "タグ(&T)", {{kMenuProgram, 401}, {kMenuList, 401}}},
      {kMenuAdvanced, "高度な操作(&A)", {{kMenuEdit, 300}}},
      {kMenuMove, "移動(&O)", {{kMenuView, 400}}},
  };
  return submenus;
}

void TForm1::CreateMenus() {
  const std::vector<ui::MenuItem> items = ui::MenuItemsOf(Commands(), Submenus());
  mainMenu_ = ui::BuildMenu(kMenuBar, items, actions_, false);
  SetMenu(Handle(), mainMenu_);
  listMenu_ = ui::BuildMenu(kMenuList, items, actions_, true);
  headerMenu_ = ui::BuildMenu(kMenuHeader, items, actions_, true);
}

void TForm1::ShowListContextMenu(POINT screen) {
  TrackPopupMenu(listMenu_, TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle(), nullptr);
}

void TForm1::HeaderRightClick() {
  POINT at;
  GetCursorPos(&at);
  TrackPopupMenu(headerMenu_, TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
}

void TForm1::ActGoNextTabExecute() { SelectTab((CurrentTab() + 1) % TabCtrl_GetItemCount(tabStrip_)); }

void TForm1::ActGoPrevTabExecute() {
  const int current = CurrentTab();
  SelectTab(current == 0 ? TabCtrl_GetItemCount(tabStrip_) - 1 : current - 1);
}

HMENU TForm1::QueriedMenu(WPARAM wParam) {
  HMENU menu = HIWORD(wParam) == 1 ? listMenu_ : mainMenu_;
  std::function<void(HMENU)> update = [&](HMENU m) {
    actions_.UpdateMenu(m);
    for (int i = 0, n = GetMenuItemCount(m); i < n; ++i)
      if (HMENU sub = GetSubMenu(m, i)) update(sub);
  };
  if (menu) update(menu);
  return menu;
}

LRESULT TForm1::QueryMenuText(WPARAM wParam) {
  HMENU menu = QueriedMenu(wParam);
  wchar_t text[256] = {};
  if (!menu || GetMenuStringW(menu, LOWORD(wParam), text, 256, MF_BYCOMMAND) <= 0) return 0;
  return GlobalAddAtomW(text);
}

LRESULT TForm1::QueryMenuState(WPARAM wParam) {
  HMENU menu = QueriedMenu(wParam);
  const UINT state = menu ? GetMenuState(menu, LOWORD(wParam), MF_BYCOMMAND) : static_cast<UINT>(-1);
  return state == static_cast<UINT>(-1) ? -1 : static_cast<LRESULT>(state & (MF_GRAYED | MF_DISABLED | MF_CHECKED));
}

}  // namespace orv
