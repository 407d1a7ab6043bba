// Everything the property window shows for one program (or for none), read once when the
// window is given the program: later actions in the window work on these texts, never on
// the record, which a rescan may replace.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "annotations/entry_edit.h"
#include "catalogue/program.h"
#include "dialogs/installer_records.h"

namespace orv {

inline constexpr const char* kUnknownProgram = "不明なプログラム";

struct LinkField {
  std::string text;    // shown as stored
  std::string target;  // not shown; "" = not clickable
  bool Linked() const { return !target.empty(); }
  bool Enabled() const { return !text.empty(); }
};

struct PropertyContent {
  std::optional<EntryIdentity> entry;  // none: the window shows no program
  std::string name;                    // on top of all three pages
  // "全般"
  std::string version;
  LinkField publisher, helpLink, updateInfo, readme;
  std::string contact, telephone;
  LinkField installLocation;
  std::string comments;
  bool noRemove = false, noModify = false, noRepair = false;
  // "詳細"
  std::string registryRoot, keyName, slowInfoCache, windowsInstaller, fileName;
  std::vector<RecordedFile> files;
  // "パッチ情報": the current user's patches first, then the machine's.
  std::vector<PatchRecord> patches;
};

PropertyContent ReadPropertyContent(const TProgram* program, Registry& registry);

// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE" (either view).
std::string RegistryRootText(RegistryRoot root);

}  // namespace orv
