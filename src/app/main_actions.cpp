// The main window's commands and the menus that show them.
#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/program_rows.h"

#include <functional>

namespace orv {

using ui::Action;
using ui::MenuEntry;
using ui::Shortcut;

void TForm1::CreateActions() {
  struct Declared {
    int id;
    const char* caption;
    const char* hint;
    Shortcut shortcut;
    bool autoCheck;
  };
  // Commands whose handler is not set here stay disabled: their features are not built yet.
  const Declared declared[] = {
      {kCmdRemoveProgram, "削除(&R)", "プログラムを削除", {}, false},
      {kCmdModifyProgram, "変更(&M)", "プログラムを変更", {}, false},
      {kCmdRepairProgram, "修復(&E)", "プログラムを修復", {}, false},
      {kCmdSaveProgList, "一覧を保存(&S)...", "一覧を保存", {'S', true, false}, false},
      {kCmdOpenFolder, "インストール先を開く(&O)...", "インストール先を開く", {'O', true, false}, false},
      {kCmdOpenURLInfoAbout, "発行元のウェブページを開く(&A)...", "発行元のウェブページを開く", {}, false},
      {kCmdExecuteProgram, "プログラムを実行(&C)...", "プログラムを実行", {}, false},
      {kCmdDisableChange, "変更を禁止(&D)", "変更を禁止", {}, true},
      {kCmdTagNone, "なし(&N)", "タグなし", {'0', true, true}, false},
      {kCmdTag0 + 0, "Tag1", "タグ", {'1', true, true}, false},
      {kCmdTag0 + 1, "Tag2", "タグ", {'2', true, true}, false},
      {kCmdTag0 + 2, "Tag3", "タグ", {'3', true, true}, false},
      {kCmdTag0 + 3, "Tag4", "タグ", {'4', true, true}, false},
      {kCmdTag0 + 4, "Tag5", "タグ", {'5', true, true}, false},
      {kCmdEditTag, "編集(&E)...", "タグを編集", {}, false},
      {kCmdProperty, "プロパティ(&P)...", "プロパティ", {}, false},
      {kCmdExit, "終了(&X)", "終了", {}, false},
      {kCmdFind, "検索(&S)...", "検索", {'F', true, false}, false},
      {kCmdFindNext, "次を検索(&N)", "次を検索", {VK_F3, false, false}, false},
      {kCmdFindPrev, "前を検索(&P)", "前を検索", {VK_F3, false, true}, false},
      {kCmdCopyAppName, "プログラム名をコピー(&C)", "プログラム名をコピー", {}, false},
      {kCmdRename, "プログラム名を変更(&R)...", "プログラム名を変更", {}, false},
      {kCmdEditComment, "メモを編集(&E)...", "メモを編集", {}, false},
      {kCmdRemoveRegEntry, "レジストリ情報を削除(&M)", "レジストリ情報を削除", {}, false},
      {kCmdDeleteSlowInfoCache, "SlowInfoCacheを削除(&L)", "SlowInfoCacheを削除", {}, false},
      {kCmdStngLoadIcon, "アイコンを読み込む(&L)", "アイコンを読み込む", {}, true},
      {kCmdStngGridLine, "グリッドを表示(&G)", "グリッドを表示", {}, true},
      {kCmdStngStripe, "ストライプ表示(&S)", "ストライプ表示", {}, true},
      {kCmdStngSysComp, "システムコンポーネントを表示(&H)", "システムコンポーネントを表示", {}, true},
      {kCmdDispItemSetting, "表示項目の設定(&D)...", "表示項目の設定", {}, false},
      {kCmdGoNextTab, "次のタブ(&N)", "次のタブ", {VK_TAB, true, false}, false},
      {kCmdGoPrevTab, "前のタブ(&P)", "前のタブ", {VK_TAB, true, true}, false},
      {kCmdRefresh, "最新の情報に更新(&R)", "最新の情報に更新", {VK_F5, false, false}, false},
      {kCmdHomePage, "ホームページ(&H)...", "ホームページ", {}, false},
      {kCmdVersion, "バージョン情報(&A)...", "バージョン情報", {}, false},
  };
  for (const Declared& d : declared)
    actions_.Add(Action{d.id, d.caption, d.hint, d.shortcut, d.autoCheck, false, false, {}});

  auto bind = [&](int id, std::function<void()> handler) {
    Action* action = actions_.Find(id);
    action->onExecute = std::move(handler);
    action->enabled = true;
  };
  bind(kCmdExit, [this] { PostMessageW(handle_, WM_CLOSE, 0, 0); });
  bind(kCmdRefresh, [this] { ActRefreshExecute(); });
  bind(kCmdStngLoadIcon, [this] { actions_.Execute(kCmdRefresh); });
  bind(kCmdStngSysComp, [this] { ShowTab(TabCtrl_GetCurSel(tabStrip_)); });
  bind(kCmdGoNextTab, [this] {
    int count = TabCtrl_GetItemCount(tabStrip_);
    SelectTab((TabCtrl_GetCurSel(tabStrip_) + 1) % count);
  });
  bind(kCmdGoPrevTab, [this] {
    int current = TabCtrl_GetCurSel(tabStrip_);
    SelectTab(current == 0 ? TabCtrl_GetItemCount(tabStrip_) - 1 : current - 1);
  });
  bind(kCmdRemoveProgram, [this] { ActRemoveProgramExecute(); });
  bind(kCmdModifyProgram, [this] { ActModifyProgramExecute(); });
  bind(kCmdRepairProgram, [this] { ActRepairProgramExecute(); });
  bind(kCmdStngGridLine, [this] { ApplyGridLines(); });
  bind(kCmdStngStripe, [this] { InvalidateRect(programList_, nullptr, TRUE); });
  bind(kCmdTagNone, [this] { ActTagExecute(-1); });
  for (int i = 0; i < kTagCount; ++i) bind(kCmdTag0 + i, [this, i] { ActTagExecute(i); });
  bind(kCmdEditTag, [this] { ActEditTagExecute(); });
  bind(kCmdDisableChange, [this] { ActDisableChangeExecute(); });
  bind(kCmdFind, [this] { ActFindExecute(); });
  bind(kCmdFindNext, [this] { ActFindNextExecute(); });
  bind(kCmdFindPrev, [this] { ActFindPrevExecute(); });
  bind(kCmdSaveProgList, [this] { ActSaveProgListExecute(); });
  bind(kCmdDispItemSetting, [this] { ActDispItemSettingExecute(); });
  bind(kCmdVersion, [this] { ActVersionExecute(); });
  bind(kCmdRemoveRegEntry, [this] { ActRemoveRegEntryExecute(); });
  bind(kCmdDeleteSlowInfoCache, [this] { ActDeleteSlowInfoCacheExecute(); });
  bind(kCmdOpenFolder, [this] { ActOpenFolderExecute(); });
  bind(kCmdOpenURLInfoAbout, [this] { ActOpenURLInfoAboutExecute(); });
  bind(kCmdExecuteProgram, [this] { ActExecuteProgramExecute(); });
  bind(kCmdCopyAppName, [this] { ActCopyAppNameExecute(); });
  bind(kCmdHomePage, [this] { ActHomePageExecute(); });
  bind(kCmdProperty, [this] { ActPropertyExecute(); });
  bind(kCmdRename, [this] { ActRenameExecute(); });
  bind(kCmdEditComment, [this] { ActEditCommentExecute(); });
  accelerators_ = actions_.CreateAccelerators();
}

void TForm1::CreateMenus() {
  auto tagMenu = [] {
    std::vector<MenuEntry> items{MenuEntry::Of(kCmdTagNone), MenuEntry::Sep()};
    for (int i = 0; i < kTagCount; ++i) items.push_back(MenuEntry::Of(kCmdTag0 + i));
    items.push_back(MenuEntry::Sep());
    items.push_back(MenuEntry::Of(kCmdEditTag));
    return MenuEntry::Sub("タグ(&T)", std::move(items));
  };
  const std::vector<MenuEntry> mainMenu = {
      MenuEntry::Sub("プログラム(&P)",
                     {MenuEntry::Of(kCmdRemoveProgram), MenuEntry::Of(kCmdModifyProgram),
                      MenuEntry::Of(kCmdRepairProgram), MenuEntry::Sep(),
                      MenuEntry::Of(kCmdSaveProgList), MenuEntry::Sep(),
                      MenuEntry::Of(kCmdOpenFolder), MenuEntry::Of(kCmdOpenURLInfoAbout),
                      MenuEntry::Of(kCmdExecuteProgram), MenuEntry::Sep(),
                      MenuEntry::Of(kCmdDisableChange), tagMenu(), MenuEntry::Sep(),
                      MenuEntry::Of(kCmdProperty), MenuEntry::Sep(), MenuEntry::Of(kCmdExit)}),
      MenuEntry::Sub("編集(&E)",
                     {MenuEntry::Of(kCmdFind), MenuEntry::Of(kCmdFindNext),
                      MenuEntry::Of(kCmdFindPrev), MenuEntry::Sep(),
                      MenuEntry::Of(kCmdCopyAppName), MenuEntry::Sep(),
                      MenuEntry::Sub("高度な操作(&A)",
                                     {MenuEntry::Of(kCmdRename), MenuEntry::Of(kCmdEditComment),
                                      MenuEntry::Sep(), MenuEntry::Of(kCmdRemoveRegEntry),
                                      MenuEntry::Of(kCmdDeleteSlowInfoCache)})}),
      MenuEntry::Sub("表示(&V)",
                     {MenuEntry::Of(kCmdStngLoadIcon), MenuEntry::Of(kCmdStngGridLine),
                      MenuEntry::Of(kCmdStngStripe), MenuEntry::Sep(),
                      MenuEntry::Of(kCmdStngSysComp), MenuEntry::Sep(),
                      MenuEntry::Of(kCmdDispItemSetting), MenuEntry::Sep(),
                      MenuEntry::Sub("移動(&O)", {MenuEntry::Of(kCmdGoNextTab),
                                                  MenuEntry::Of(kCmdGoPrevTab)}),
                      MenuEntry::Of(kCmdRefresh)}),
      MenuEntry::Sub("ヘルプ(&H)", {MenuEntry::Of(kCmdHomePage), MenuEntry::Sep(),
                                    MenuEntry::Of(kCmdVersion)}),
  };
  const std::vector<MenuEntry> listMenu = {
      MenuEntry::Of(kCmdRemoveProgram), MenuEntry::Of(kCmdRepairProgram),
      MenuEntry::Of(kCmdModifyProgram), MenuEntry::Sep(),
      MenuEntry::Of(kCmdRefresh), MenuEntry::Sep(),
      MenuEntry::Of(kCmdOpenFolder), MenuEntry::Of(kCmdOpenURLInfoAbout),
      MenuEntry::Of(kCmdExecuteProgram), MenuEntry::Sep(),
      MenuEntry::Of(kCmdDisableChange), tagMenu(), MenuEntry::Sep(),
      MenuEntry::Of(kCmdProperty),
  };
  mainMenu_ = ui::BuildMenu(mainMenu, actions_, false);
  SetMenu(handle_, mainMenu_);
  listMenu_ = ui::BuildMenu(listMenu, actions_, true);
  headerMenu_ = ui::BuildMenu({MenuEntry::Of(kCmdDispItemSetting)}, actions_, true);
}

void TForm1::ShowListContextMenu(POINT screen) {
  TrackPopupMenu(listMenu_, TPM_RIGHTBUTTON, screen.x, screen.y, 0, handle_, nullptr);
}

void TForm1::HeaderRightClick() {
  POINT at;
  GetCursorPos(&at);
  TrackPopupMenu(headerMenu_, TPM_RIGHTBUTTON, at.x, at.y, 0, handle_, nullptr);
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
