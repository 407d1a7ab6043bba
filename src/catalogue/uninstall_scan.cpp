#include "catalogue/uninstall_scan.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <optional>
#include <thread>
#include <unordered_map>

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

// The entry's values and its SlowInfoCache record; no hook runs here, so this may run on any
// thread. Nothing when the entry vanished, cannot be read or has no name.
std::optional<TProgram> ReadEntry(Registry& registry, SystemServices& system, RegistryRoot root,
                                  RegistryKey& uninstall, RegistryKey* arpCache,
                                  const std::string& name, TRegistryEx& reg,
                                  RegistryValue& scratch) {
  if (!reg.OpenSubKeyReadOnly(uninstall, name)) return std::nullopt;  // vanished or unreadable
  reg.TakeSnapshot();
  std::optional<std::string> displayName = ReadEntryName(reg, scratch);
  if (!displayName) return std::nullopt;
  TProgram p;
  p.RootKey = root;
  p.KeyName = name;
  p.DisplayName = std::move(*displayName);
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
  p.DisplayIcon = ExpandEnvironment(system, StripQuotes(ReadStringDef(reg, "DisplayIcon", "")));
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
  ReadSlowInfoCache(registry, arpCache, p);
  return p;
}

// Runs body(i) for every i below `count` on up to `threads` threads, the caller's among them.
// Each index runs once; indices are handed out in order, a few at a time.
template <typename Body>
void RunParallel(unsigned threads, std::size_t count, std::size_t chunk, Body body) {
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (;;) {
      const std::size_t first = next.fetch_add(chunk);
      if (first >= count) return;
      for (std::size_t i = first; i < std::min(count, first + chunk); ++i) body(i);
    }
  };
  // `body` catches what it throws: an exception leaving a thread would end the program.
  const std::size_t workers = std::min<std::size_t>(threads, (count + chunk - 1) / chunk);
  const std::size_t helpers = workers > 1 ? workers - 1 : 0;
  std::vector<std::thread> pool;
  pool.reserve(helpers);
  try {
    for (std::size_t i = 0; i < helpers; ++i) pool.emplace_back(work);
  } catch (...) {
    // No thread to spare: the ones started and this one share the work.
  }
  work();
  for (std::thread& thread : pool) thread.join();
}

// One root as its enumerations found it.
struct RootReads {
  RegistryRoot root = RegistryRoot::CurrentUser;
  std::unique_ptr<RegistryKey> uninstall;  // null: the root contributes nothing
  std::unique_ptr<RegistryKey> arpCache;
  std::vector<SubKeyEntry> entries;
  // ARPCache subkeys' last-write times by upper-cased name.
  std::unordered_map<std::string, std::uint64_t> cacheTimes;
  bool cacheTimesKnown = true;
  std::exception_ptr error;  // the enumeration failed: the scan stops at this root
};

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A write this close to the scan may share its time with a later one: the clock moves in steps
// (about 16 ms on Windows), so such an entry is read again at the next scan whatever its time.
constexpr std::uint64_t kClockGrain = 2 * 10'000'000ull;  // 2 s in 100 ns units

}  // namespace

unsigned DefaultScanThreads() {
  // The threads mostly wait for the registry's answers: two per core keep the cores busy.
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  return std::min(2 * cores, kMaxScanThreads);
}

ScanReads ReadUninstallEntries(Registry& registry, SystemServices& system, unsigned threads,
                               const std::vector<RegistryRoot>& roots, ProgramList* previous) {
  if (threads == 0) threads = DefaultScanThreads();
  const std::uint64_t now = registry.Now();
  std::vector<RootReads> rootReads(roots.size());
  // The enumerations: each root's Uninstall key and ARPCache key, two tasks per root.
  RunParallel(threads, roots.size() * 2, 1, [&](std::size_t task) {
    RootReads& r = rootReads[task / 2];
    r.root = roots[task / 2];
    try {
      if (task % 2 == 0) {
        r.uninstall = registry.OpenKey(r.root, kUninstallKey, KeyAccess::Read);
        if (r.uninstall) r.entries = r.uninstall->SubKeys();
      } else {
        r.arpCache = registry.OpenKey(r.root, kArpCacheKey, KeyAccess::Read);
        if (r.arpCache)
          for (SubKeyEntry& key : r.arpCache->SubKeys())
            r.cacheTimes.emplace(AsciiUpper(key.name), key.lastWrite);
      }
    } catch (...) {
      if (task % 2 == 0) r.error = std::current_exception();
      r.cacheTimes.clear();
      r.cacheTimesKnown = false;  // the entries are still read, but never kept next time
    }
  });

  // The previous records by root and exact name, for the entries that did not change.
  std::unordered_map<std::string, std::size_t> previousIndex[3];
  if (previous)
    for (std::size_t i = 0; i < previous->size(); ++i) {
      const TProgram& p = (*previous)[i];
      if (p.WriteTimesSettled) previousIndex[static_cast<int>(p.RootKey)].emplace(p.KeyName, i);
    }

  ScanReads reads;
  struct Job {
    std::size_t root, entry;
  };
  std::vector<Job> jobs;
  std::exception_ptr stop;
  for (std::size_t r = 0; r < rootReads.size() && !stop; ++r) {
    stop = rootReads[r].error;  // the one-thread scan ends at this root
    if (!stop)
      for (std::size_t e = 0; e < rootReads[r].entries.size(); ++e) jobs.push_back({r, e});
  }
  reads.slots.resize(jobs.size());
  if (stop) reads.slots.push_back({std::nullopt, stop, false});

  // Which entries must be read: the rest keep their previous record.
  std::vector<std::size_t> toRead;
  toRead.reserve(jobs.size());
  for (std::size_t j = 0; j < jobs.size(); ++j) {
    RootReads& r = rootReads[jobs[j].root];
    const SubKeyEntry& entry = r.entries[jobs[j].entry];
    auto cache = r.cacheTimes.find(AsciiUpper(entry.name));
    const std::uint64_t cacheTime = cache == r.cacheTimes.end() ? 0 : cache->second;
    auto& index = previousIndex[static_cast<int>(r.root)];
    auto found = previous ? index.find(entry.name) : index.end();
    if (found != index.end()) {
      TProgram& old = (*previous)[found->second];
      if (old.KeyWriteTime == entry.lastWrite && old.CacheWriteTime == cacheTime) {
        reads.slots[j].program = std::move(old);
        reads.slots[j].kept = true;
        index.erase(found);
        continue;
      }
    }
    toRead.push_back(j);
  }
  reads.reread = toRead.size();

  RunParallel(threads, toRead.size(), 8, [&](std::size_t i) {
    RegistryValue scratch;
    const std::size_t j = toRead[i];
    RootReads& r = rootReads[jobs[j].root];
    const SubKeyEntry& entry = r.entries[jobs[j].entry];
    ScanReads::Slot& slot = reads.slots[j];
    try {
      TRegistryEx reg(registry);
      reg.SetRootKey(r.root);
      auto cache = r.cacheTimes.find(AsciiUpper(entry.name));
      // The enumeration told which entries have an ARPCache key: the others cost no open.
      // A name the registry may fold beyond ASCII is looked for all the same.
      const bool noCacheKey =
          r.cacheTimesKnown && cache == r.cacheTimes.end() && IsAscii(entry.name);
      slot.program = ReadEntry(registry, system, r.root, *r.uninstall,
                               noCacheKey ? nullptr : r.arpCache.get(), entry.name, reg, scratch);
      if (!slot.program) return;
      slot.program->KeyWriteTime = entry.lastWrite;
      slot.program->CacheWriteTime = cache == r.cacheTimes.end() ? 0 : cache->second;
      // A name whose case the registry folds beyond ASCII may not have matched its ARPCache key.
      slot.program->WriteTimesSettled = r.cacheTimesKnown && IsAscii(entry.name) &&
                                        entry.lastWrite + kClockGrain <= now &&
                                        slot.program->CacheWriteTime + kClockGrain <= now;
    } catch (...) {
      slot.program.reset();
      slot.error = std::current_exception();
    }
  });
  return reads;
}

void FinishScan(ScanContext& context, ScanReads& reads, ProgramList& programs) {
  programs.reserve(programs.size() + reads.slots.size());
  for (ScanReads::Slot& slot : reads.slots) {
    if (slot.error) std::rethrow_exception(slot.error);
    if (!slot.program) continue;
    TProgram& p = *slot.program;
    p.IconIndex = -1;
    if (context.loadIcon) p.IconIndex = context.loadIcon(p);
    p.TagIndex = -1;
    p.ChangeAllowed = true;
    p.IsNew = true;
    if (context.annotate) context.annotate(p);
    programs.push_back(std::move(p));
  }
}

void ScanUninstallKey(ScanContext& context, RegistryRoot root, ProgramList& programs) {
  ScanReads reads =
      ReadUninstallEntries(context.registry, context.system, context.threads, {root}, nullptr);
  FinishScan(context, reads, programs);
}

void ScanAllUninstallKeys(ScanContext& context, ProgramList& programs) {
  ScanReads reads = ReadUninstallEntries(
      context.registry, context.system, context.threads,
      {std::begin(kAllRegistryRoots), std::end(kAllRegistryRoots)}, nullptr);
  programs.clear();
  FinishScan(context, reads, programs);
}

std::size_t RescanChangedUninstallKeys(ScanContext& context, ProgramList& programs) {
  ScanReads reads = ReadUninstallEntries(
      context.registry, context.system, context.threads,
      {std::begin(kAllRegistryRoots), std::end(kAllRegistryRoots)}, &programs);
  programs.clear();  // what was not kept is not listed any more
  FinishScan(context, reads, programs);
  return reads.reread;
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
