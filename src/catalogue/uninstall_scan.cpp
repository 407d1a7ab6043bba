#include "catalogue/uninstall_scan.h"

#include <array>
#include <optional>
#include <cstring>

#include "catalogue/program_text.h"
#include "catalogue/registry_ex.h"
#include "text/utf.h"

namespace orv {
namespace {

constexpr std::uint32_t kSlowInfoSize = 552;

bool Flag(TRegistryEx& reg, std::string_view name) {
  return ReadIntegerDef(reg, name, 0) == 1;
}

template <typename T>
T Load(const unsigned char* bytes) {
  T value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

// `arpCache` is the root's ARPCache key, held for the whole scan; null when it has none.
// `arpCache` is the root's ARPCache key, held for the whole scan; null when it has none.
void ReadSlowInfoCache(Registry& registry, RegistryKey* arpCache, TProgram& program) {
  program.HasSlowInfoCache = false;
  program.InstallSize = 0;
  program.UsageFrequency = 0;
  program.LastUsed = 0;
  std::array<unsigned char, kSlowInfoSize> buffer{};
  try {
    TRegistryEx cache(registry);
    if (!arpCache || !cache.OpenSubKeyReadOnly(*arpCache, program.KeyName)) return;
    // A missing value reads as 0 bytes: the existence test is part of the read.
    program.HasSlowInfoCache = cache.ReadBinaryData("SlowInfoCache", buffer.data(), kSlowInfoSize) > 0;
  } catch (const std::exception&) {
    program.HasSlowInfoCache = false;  // refused: a string, an integer, or too long
  }
  if (!program.HasSlowInfoCache) return;
  program.InstallSize = Load<std::int64_t>(&buffer[8]);
  program.LastUsed = Load<std::uint64_t>(&buffer[16]);
  program.UsageFrequency = Load<std::int32_t>(&buffer[24]);
  program.SlowInfoFileName.clear();
  if (Load<std::uint32_t>(&buffer[4]) != 0)
    program.SlowInfoFileName = Utf16LeBytesToUtf8(&buffer[28], kSlowInfoSize - 28);
}

std::string StringOf(const RegistryValue& value) {
  if (value.type != kRegSz && value.type != kRegExpandSz) return "";
  return Utf16LeBytesToUtf8(value.data.data(), value.data.size());
}

// The entry's name, or nothing when it has neither name value (of any type, even empty).
// One query per value tells both whether it exists and what it says.
std::optional<std::string> ReadEntryName(TRegistryEx& reg, RegistryValue& scratch) {
  bool named = false;
  std::string name;
  if (reg.QueryValue("DisplayName", scratch)) {
    named = true;
    name = StringOf(scratch);
  }
  if (name.empty() && reg.QueryValue("QuietDisplayName", scratch)) {
    named = true;
    name = StringOf(scratch);
  }
  if (!named) return std::nullopt;
  return name;
}

void FillProgram(ScanContext& context, TRegistryEx& reg, RegistryKey* arpCache, TProgram& p) {
  p.UninstallString = ReadStringDef(reg, "UninstallString", "");
  p.QuietUninstallString = ReadStringDef(reg, "QuietUninstallString", "");
  p.Publisher = ReadStringDef(reg, "Publisher", "");
  p.DisplayVersion = ReadStringDef(reg, "DisplayVersion", "");
  p.EstimatedSize = static_cast<std::uint32_t>(ReadIntegerDef(reg, "EstimatedSize", 0));
  p.HelpLink = TrimControls(ReadStringDef(reg, "HelpLink", ""));
  p.URLInfoAbout = TrimControls(ReadStringDef(reg, "URLInfoAbout", ""));
  p.URLUpdateInfo = TrimControls(ReadStringDef(reg, "URLUpdateInfo", ""));
  p.HelpTelephone = TrimControls(ReadStringDef(reg, "HelpTelephone", ""));
  p.Contact = TrimControls(ReadStringDef(reg, "Contact", ""));
  p.Readme = TrimControls(ReadStringDef(reg, "Readme", ""));
  p.Comments = ReadStringDef(reg, "Comments", "");
  p.DisplayIcon =
      ExpandEnvironment(context.system, StripQuotes(ReadStringDef(reg, "DisplayIcon", "")));
  p.WindowsInstaller = Flag(reg, "WindowsInstaller");
  p.SystemComponent = Flag(reg, "SystemComponent");
  p.InstallDate = ReadStringDef(reg, "InstallDate", "");
  p.ParentKeyName = ReadStringDef(reg, "ParentKeyName", "");
  p.ReleaseType = ReadStringDef(reg, "ReleaseType", "");
  p.ParentDisplayName = ReadStringDef(reg, "ParentDisplayName", "");
  p.RegistryLocation = ReadStringDef(reg, "RegistryLocation", "");
  p.InstallLocation = ReadStringDef(reg, "InstallLocation", "");
  if (p.InstallLocation.empty()) p.InstallLocation = ReadStringDef(reg, "InstallDir", "");
  if (p.InstallLocation.empty())
    p.InstallLocation = ReadStringDef(reg, "Inno Setup: App Path", "");
  p.InstallSource = ReadStringDef(reg, "InstallSource", "");
  p.ModifyPath = ReadStringDef(reg, "ModifyPath", "");
  p.NoModify = Flag(reg, "NoModify");
  p.NoRepair = Flag(reg, "NoRepair");
  p.NoRemove = Flag(reg, "NoRemove");
  ReadSlowInfoCache(context.registry, arpCache, p);
  p.IconIndex = -1;
  if (context.loadIcon) p.IconIndex = context.loadIcon(p);
  p.TagIndex = -1;
  p.ChangeAllowed = true;
  p.IsNew = true;
  if (context.annotate) context.annotate(p);
}

}  // namespace

void ScanUninstallKey(ScanContext& context, RegistryRoot root, ProgramList& programs) {
  TRegistryEx reg(context.registry);
  reg.SetRootKey(root);
  if (!reg.OpenKeyReadOnly(kUninstallKey)) return;
  std::vector<std::string> names = reg.GetKeyNames();
  // Both parents stay open for the scan: entries open one step below them, which costs the
  // registry a fraction of a path walk from the root.
  std::unique_ptr<RegistryKey> uninstall = reg.ReleaseKey();
  std::unique_ptr<RegistryKey> arpCache =
      context.registry.OpenKey(root, kArpCacheKey, KeyAccess::Read);
  programs.reserve(programs.size() + names.size());
  RegistryValue scratch;
  for (const std::string& name : names) {
    if (!reg.OpenSubKeyReadOnly(*uninstall, name)) continue;  // vanished or unreadable: skipped
    reg.TakeSnapshot();
    std::optional<std::string> displayName = ReadEntryName(reg, scratch);
    if (!displayName) continue;
    TProgram program;
    program.RootKey = root;
    program.KeyName = name;
    program.DisplayName = std::move(*displayName);
    FillProgram(context, reg, arpCache.get(), program);
    programs.push_back(std::move(program));
  }
}

void ScanAllUninstallKeys(ScanContext& context, ProgramList& programs) {
  programs.clear();
  for (RegistryRoot root : kAllRegistryRoots) ScanUninstallKey(context, root, programs);
}

bool IsUpdateProgram(const TProgram* program) {
  if (!program) return false;
  if (!EqualsAsciiNoCase(program->Publisher, "Microsoft Corporation")) return false;
  const std::string& type = program->ReleaseType;
  if (EqualsAsciiNoCase(type, "Security Update") || EqualsAsciiNoCase(type, "Update") ||
      EqualsAsciiNoCase(type, "Hotfix"))
    return true;
  std::string_view key = program->KeyName;
  if (EqualsAsciiNoCase(key.substr(0, 24), "Microsoft Security Patch")) return true;
  if (EqualsAsciiNoCase(program->ParentKeyName, "OperatingSystem")) return true;
  return key.substr(0, 2) == "KB";
}

std::int32_t CountUninstallKeys(Registry& registry, RegistryRoot root) {
  TRegistryEx reg(registry);
  reg.SetRootKey(root);
  if (!reg.OpenKeyReadOnly(kUninstallKey)) return -1;
  return reg.SubKeyCount();
}

}  // namespace orv
