// What installers recorded about a program outside its Uninstall entry: the file list found
// through "RegistryLocation", and the Windows Installer patches of the product.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/program.h"
#include "platform/registry.h"

namespace orv {

struct RegistryLocation {
  RegistryRoot root = RegistryRoot::CurrentUser;
  std::string path;
};

// "HKCU\path", "HKEY_LOCAL_MACHINE\path" and the like, the root in any letter case. Nothing for
// another root, no backslash, or an empty path. `entryRoot` is the view the entry was read in:
// an installer of the 32-bit view recorded a path of that view.
std::optional<RegistryLocation> ParseRegistryLocation(std::string_view text,
                                                      RegistryRoot entryRoot);

struct RecordedFile {
  std::string fileName, location, version, buildDate;
};

// The subkeys of the location's "Filelist" key that have a "FileName", in enumeration order.
std::vector<RecordedFile> LoadFileList(Registry& registry, const TProgram& program);

inline constexpr std::string_view kInstallerProductsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products\\";

struct PatchRecord {
  std::string displayName, installed, moreInfoUrl;
  bool uninstallable = false;
  std::string patchCode;         // GUID form; "" when the subkey name is no packed code
  std::string uninstallCommand;  // "MsiExec.exe /X{code}" when uninstallable and coded, else ""
};

// The patches recorded for the product named by `keyName` in one hive. Windows Installer keeps
// its data in the 64-bit view: the local-machine hive is read there, whatever view the entry
// came from. Nothing when `keyName` is no product code.
std::vector<PatchRecord> LoadPatches(Registry& registry, RegistryRoot hive,
                                     const std::string& keyName);

}  // namespace orv
