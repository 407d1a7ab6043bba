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

void ReadSlowInfoCache(ScanContext& context, RegistryRoot root, TProgram& program) {
  program.HasSlowInfoCache = false;
  program.InstallSize = 0;
  program.UsageFrequency = 0;
  program.LastUsed = 0;
  std::array<unsigned char, kSlowInfoSize> buffer{};
  try {
    TRegistryEx cache(context.registry);
    cache.SetRootKey(root);
    std::string path(kArpCacheKey);
    path += program.KeyName;
    if (!cache.OpenKeyReadOnly(path)) return;
    // A missing value reads as 0 bytes: the existence test is part of the read.
    program.HasSlowInfoCache =
        cache.ReadBinaryData("SlowInfoCache", buffer.data(), kSlowInfoSize) > 0;
  } catch (const std::exception&) {
    program.HasSlowInfoCache = false;
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

void FillProgram(ScanContext& context, TRegistryEx& reg, RegistryRoot root, TProgram& p) {
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
  ReadSlowInfoCache(context, root, p);
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
  reg.CloseKey();
  programs.reserve(programs.size() + names.size());
  std::string path(kUninstallKey);
  const std::size_t base = path.size();
  RegistryValue scratch;
  for (const std::string& name : names) {
    path.resize(base);
    path += name;
    if (!reg.OpenKeyReadOnly(path)) continue;  // vanished or unreadable: skipped
    reg.TakeSnapshot();
    std::optional<std::string> displayName = ReadEntryName(reg, scratch);
    if (!displayName) continue;
    TProgram program;
    program.RootKey = root;
    program.KeyName = name;
    program.DisplayName = std::move(*displayName);
    FillProgram(context, reg, root, program);
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
