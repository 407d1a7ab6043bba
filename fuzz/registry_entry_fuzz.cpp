// One Uninstall entry and its SlowInfoCache built from the input: values of any name, type and
// length. The scan reads them as texts, numbers or defaults and never fails.
#include <string>
#include <vector>

#include "catalogue/registry_ex.h"
#include "catalogue/uninstall_scan.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_system.h"

namespace {

const char* const kNames[] = {"DisplayName", "DisplayVersion", "Publisher", "UninstallString",
                              "QuietUninstallString", "ModifyPath", "InstallLocation",
                              "DisplayIcon", "EstimatedSize", "InstallDate", "SystemComponent",
                              "WindowsInstaller", "NoModify", "NoRepair", "NoRemove",
                              "ParentKeyName", "ReleaseType", "URLInfoAbout", "HelpLink",
                              "Comments", "Contact", "VersionMajor", "VersionMinor"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  orv::MemoryRegistry registry;
  const std::string entry = std::string(orv::kUninstallKey) + "Fuzzed";
  const std::string cache = std::string(orv::kArpCacheKey) + "Fuzzed";
  registry.CreateKey(orv::RegistryRoot::CurrentUser, entry);
  // Records: name index, type, length, bytes; the last name index is the SlowInfoCache.
  size_t at = 0;
  while (at + 3 <= size) {
    const unsigned nameIndex = data[at] % (std::size(kNames) + 1);
    const std::uint32_t type = data[at + 1] % 12;
    size_t length = data[at + 2];
    at += 3;
    if (length > size - at) length = size - at;
    std::vector<unsigned char> bytes(data + at, data + at + length);
    at += length;
    if (nameIndex == std::size(kNames))
      registry.SetValue(orv::RegistryRoot::CurrentUser, cache, "SlowInfoCache",
                        {type, std::move(bytes)});
    else
      registry.SetValue(orv::RegistryRoot::CurrentUser, entry, kNames[nameIndex],
                        {type, std::move(bytes)});
  }
  orv::MemorySystem system;
  orv::ScanContext context{registry, system, {}, {}};
  orv::ProgramList programs;
  orv::ScanUninstallKey(context, orv::RegistryRoot::CurrentUser, programs);
  return 0;
}
