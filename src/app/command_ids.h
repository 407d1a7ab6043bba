// Stable identifiers of the main window's commands and controls. Test drivers post these
// as WM_COMMAND and address controls by them, so a number, once given, never changes.
#pragma once

namespace orv {

enum CommandId : int {
  // "プログラム(&P)"
  kCmdRemoveProgram = 200,
  kCmdModifyProgram = 201,
  kCmdRepairProgram = 202,
  kCmdSaveProgList = 203,
  kCmdOpenFolder = 204,
  kCmdOpenURLInfoAbout = 205,
  kCmdExecuteProgram = 206,
  kCmdDisableChange = 207,
  kCmdProperty = 208,
  kCmdExit = 209,
  kCmdTagNone = 210,
  kCmdTag0 = 211,  // to kCmdTag0 + 4
  kCmdEditTag = 216,
  // "編集(&E)"
  kCmdFind = 220,
  kCmdFindNext = 221,
  kCmdFindPrev = 222,
  kCmdCopyAppName = 223,
  kCmdRename = 224,
  kCmdEditComment = 225,
  kCmdRemoveRegEntry = 226,
  kCmdDeleteSlowInfoCache = 227,
  // "表示(&V)"
  kCmdStngLoadIcon = 240,
  kCmdStngGridLine = 241,
  kCmdStngStripe = 242,
  kCmdStngSysComp = 243,
  kCmdDispItemSetting = 244,
  kCmdGoNextTab = 245,
  kCmdGoPrevTab = 246,
  kCmdRefresh = 247,
  // "ヘルプ(&H)"
  kCmdHomePage = 260,
  kCmdVersion = 261,
};

enum ControlId : int {
  kIdProgramList = 100,
  kIdTabStrip = 101,
  kIdCountPanel = 102,      // the program count
  kIdModifyButton = 103,
  kIdRemoveButton = 104,
};

}  // namespace orv
