// Turns the Uninstall entries of one registry root into program records.
#pragma once
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <vector>

#include "catalogue/program.h"
#include "platform/registry.h"
#include "platform/system_services.h"

namespace orv {

struct ScanContext {
  Registry& registry;
  SystemServices& system;
  // Copies the stored annotations into a new record; without a store every program is new.
  std::function<void(TProgram&)> annotate;
  // The icon step: the image index of the record's icon, or -1.
  std::function<std::int32_t(const TProgram&)> loadIcon;
  // Threads that read the entries; 0 for DefaultScanThreads().
  unsigned threads = 0;
};

// The registry answers many threads at once; more than a few add nothing but start-up cost.
inline constexpr unsigned kMaxScanThreads = 8;
// Two per core, at most kMaxScanThreads.
unsigned DefaultScanThreads();

// A scan's registry reads, before any hook has seen a record.
struct ScanReads {
  // One per enumerated entry, in scan order: its record, nothing (no name, vanished, unreadable)
  // or the failure that ends the scan there.
  struct Slot {
    std::optional<TProgram> program;
    std::exception_ptr error;
    bool kept = false;  // the previous scan's record, unchanged since
  };
  std::vector<Slot> slots;
  std::size_t reread = 0;  // entries read from the registry; the others kept their record
};

// Reads the roots' entries on `threads` threads (0: the default). No hook runs, so this may run
// away from the UI thread. With `previous`, an entry whose Uninstall key and ARPCache key kept
// their names and settled last-write times takes its record from there instead of the registry
// (moved out; `previous` is left to be cleared).
ScanReads ReadUninstallEntries(Registry& registry, SystemServices& system, unsigned threads,
                               const std::vector<RegistryRoot>& roots, ProgramList* previous);
// In scan order on the calling thread: the icon step and the annotations, then the record is
// appended to `programs`. A failure of the reads is thrown where the one-thread scan would have
// met it, after the records before it.
void FinishScan(ScanContext& context, ScanReads& reads, ProgramList& programs);

void ScanUninstallKey(ScanContext& context, RegistryRoot root, ProgramList& programs);
// Empties `programs`, then scans the current user, the 64-bit and the 32-bit machine views.
void ScanAllUninstallKeys(ScanContext& context, ProgramList& programs);
// The same list as ScanAllUninstallKeys, reading only the entries that changed since `programs`
// was scanned. Returns how many entries were read from the registry.
std::size_t RescanChangedUninstallKeys(ScanContext& context, ProgramList& programs);

bool IsUpdateProgram(const TProgram* program);

// Subkeys of the root's Uninstall key, or -1 when it cannot be opened.
std::int32_t CountUninstallKeys(Registry& registry, RegistryRoot root);

}  // namespace orv
