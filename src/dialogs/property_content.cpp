#include "dialogs/property_content.h"

namespace orv {

std::string RegistryRootText(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::CurrentUser: return "HKEY_CURRENT_USER";
    case RegistryRoot::LocalMachine:
    case RegistryRoot::LocalMachine32: return "HKEY_LOCAL_MACHINE";
  }
  return "";
}

PropertyContent ReadPropertyContent(const TProgram* program, Registry& registry) {
  PropertyContent c;
  if (!program) {
    c.name = kUnknownProgram;
    return c;
  }
  const TProgram& p = *program;
  c.entry = IdentityOf(p);
  c.name = p.DisplayName.empty() ? p.KeyName : p.DisplayName;
  c.version = p.DisplayVersion;
  c.publisher = {p.Publisher, p.URLInfoAbout};
  c.helpLink = {p.HelpLink, p.HelpLink};
  c.updateInfo = {p.URLUpdateInfo, p.URLUpdateInfo};
  c.readme = {p.Readme, p.Readme};
  c.contact = p.Contact;
  c.telephone = p.HelpTelephone;
  c.installLocation = {p.InstallLocation, p.InstallLocation};
  c.comments = p.Comments;
  c.noRemove = p.NoRemove;
  c.noModify = p.NoModify;
  c.noRepair = p.NoRepair;
  c.registryRoot = RegistryRootText(p.RootKey);
  c.keyName = p.KeyName;
  c.slowInfoCache = p.HasSlowInfoCache ? "あり" : "なし";
  c.windowsInstaller = p.WindowsInstaller ? "はい" : "いいえ";
  c.fileName = p.SlowInfoFileName;
  c.files = LoadFileList(registry, p);
  for (RegistryRoot hive : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine}) {
    auto patches = LoadPatches(registry, hive, p.KeyName);
    c.patches.insert(c.patches.end(), patches.begin(), patches.end());
  }
  return c;
}

}  // namespace orv
