// The record of one Uninstall entry: its registry values, cached usage data and annotations.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace orv {

struct TProgram {
  RegistryRoot RootKey = RegistryRoot::CurrentUser;
  std::string KeyName;
  std::string DisplayName;
  std::string UninstallString;
  std::string QuietUninstallString;
  std::string DisplayVersion;
  std::string Publisher;
  std::string URLInfoAbout;
  std::string URLUpdateInfo;
  std::string HelpLink;
  std::string HelpTelephone;
  std::string Contact;
  std::string Comments;
  std::string Readme;
  std::string DisplayIcon;
  bool WindowsInstaller = false;
  std::uint32_t EstimatedSize = 0;  // kilobytes
  bool HasSlowInfoCache = false;
  std::int64_t InstallSize = 0;  // bytes
  std::int32_t UsageFrequency = 0;
  std::uint64_t LastUsed = 0;  // file time, UTC
  std::string SlowInfoFileName;
  bool SystemComponent = false;
  bool NoModify = false;
  bool NoRepair = false;
  bool NoRemove = false;
  std::string InstallDate;
  std::string ParentKeyName;
  std::string ReleaseType;
  std::string ParentDisplayName;
  std::string RegistryLocation;
  std::string InstallLocation;
  std::string InstallSource;
  std::string ModifyPath;
  std::int32_t IconIndex = -1;
  std::int32_t TagIndex = -1;
  bool ChangeAllowed = true;
  bool IsNew = false;
  // What the scan saw of the entry's keys, so that a later scan can tell whether it changed:
  // the last-write times of its Uninstall key and of its ARPCache key (0: none), and whether
  // both were older than the scan by more than the clock's grain (a later write cannot then
  // carry the same time).
  std::uint64_t KeyWriteTime = 0;
  std::uint64_t CacheWriteTime = 0;
  bool WriteTimesSettled = false;
};

// Records are referred to by position, never by pointer: a rescan replaces them all.
using ProgramList = std::vector<TProgram>;

// Names one entry across rescans and runs: "HKCU\", "HKLM\" or "HKLM32\" and the subkey name.
std::string ProgramIdentityKey(RegistryRoot root, const std::string& keyName);
inline std::string ProgramIdentityKey(const TProgram& program) {
  return ProgramIdentityKey(program.RootKey, program.KeyName);
}

}  // namespace orv
