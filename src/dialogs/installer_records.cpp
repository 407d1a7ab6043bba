#include "dialogs/installer_records.h"

#include "catalogue/registry_ex.h"
#include "dialogs/packed_guid.h"
#include "text/utf.h"

namespace orv {

std::optional<RegistryLocation> ParseRegistryLocation(std::string_view text,
                                                      RegistryRoot entryRoot) {
  const std::size_t slash = text.find('\\');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string root = AsciiUpper(text.substr(0, slash + 1));
  RegistryLocation location;
  location.path = std::string(text.substr(slash + 1));
  if (root == "HKCU\\" || root == "HKEY_CURRENT_USER\\") {
    location.root = RegistryRoot::CurrentUser;
  } else if (root == "HKLM\\" || root == "HKEY_LOCAL_MACHINE\\") {
    location.root = entryRoot == RegistryRoot::LocalMachine32 ? RegistryRoot::LocalMachine32
                                                              : RegistryRoot::LocalMachine;
  } else {
    return std::nullopt;
  }
  if (location.path.empty()) return std::nullopt;
  return location;
}

std::vector<RecordedFile> LoadFileList(Registry& registry, const TProgram& program) {
  std::vector<RecordedFile> files;
  if (program.RegistryLocation.empty()) return files;
  auto location = ParseRegistryLocation(program.RegistryLocation, program.RootKey);
  if (!location) return files;
  auto list = registry.OpenKey(location->root, location->path + "\\Filelist", KeyAccess::Read);
  if (!list) return files;
  TRegistryEx reg(registry);
  for (const std::string& name : list->SubKeyNames()) {
    if (!reg.OpenSubKeyReadOnly(*list, name)) continue;
    if (reg.ValueExists("FileName")) {
      files.push_back({ReadStringDef(reg, "FileName", ""), ReadStringDef(reg, "Location", ""),
                       ReadStringDef(reg, "Version", ""), ReadStringDef(reg, "BuildDate", "")});
    }
    reg.CloseKey();
  }
  return files;
}

std::vector<PatchRecord> LoadPatches(Registry& registry, RegistryRoot hive,
                                     const std::string& keyName) {
  std::vector<PatchRecord> patches;
  const std::string product = GuidToPackedGuid(keyName);
  if (product.empty()) return patches;
  const RegistryRoot view =
      hive == RegistryRoot::CurrentUser ? RegistryRoot::CurrentUser : RegistryRoot::LocalMachine;
  auto list = registry.OpenKey(view, std::string(kInstallerProductsKey) + product + "\\Patches",
                               KeyAccess::Read);
  if (!list) return patches;
  TRegistryEx reg(registry);
  for (const std::string& name : list->SubKeyNames()) {
    if (!reg.OpenSubKeyReadOnly(*list, name)) continue;
    if (reg.ValueExists("DisplayName")) {
      PatchRecord patch;
      patch.displayName = ReadStringDef(reg, "DisplayName", "");
      patch.installed = ReadStringDef(reg, "Installed", "");
      patch.moreInfoUrl = ReadStringDef(reg, "MoreInfoURL", "");
      patch.uninstallable = ReadIntegerDef(reg, "Uninstallable", 0) != 0;
      patch.patchCode = PackedGuidToGuid(name);
      if (patch.uninstallable && !patch.patchCode.empty())
        patch.uninstallCommand = "MsiExec.exe /X" + patch.patchCode;
      patches.push_back(std::move(patch));
    }
    reg.CloseKey();
  }
  return patches;
}

}  // namespace orv
