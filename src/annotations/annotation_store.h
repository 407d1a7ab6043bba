// The user's marks that the registry does not hold (tag, change lock, new mark), kept across
// rescans in memory and across runs in the "appdata" file.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalogue/program.h"
#include "platform/system_services.h"

namespace orv {

struct TProgramExtInfo {
  std::string Key;  // program identity key
  std::int32_t TagIndex = -1;
  bool ChangeAllowed = true;
  bool IsNew = false;  // never saved
  void Assign(const TProgramExtInfo& source) { *this = source; }
};

class TProgramExtInfoList {
 public:
  void Clear();
  static std::string MakeKey(const TProgram& program) { return ProgramIdentityKey(program); }
  void AddProgram(const TProgram& program);
  void AddInfo(const TProgramExtInfo& info);
  // Position of the record for the program's key (letter case aside), or -1. Of two records
  // with the same key the later one counts.
  int IndexOfProgram(const TProgram& program) const { return IndexOfKey(MakeKey(program)); }
  int IndexOfKey(std::string_view key) const;
  int Count() const { return static_cast<int>(items_.size()); }
  const TProgramExtInfo& Items(int i) const { return items_[static_cast<std::size_t>(i)]; }
  TProgramExtInfo& Items(int i) { return items_[static_cast<std::size_t>(i)]; }

  // The "appdata" bytes: records back to back, each a 32-bit length, the key in the ANSI code
  // page, a 32-bit tag index and one flag byte, all little-endian. Reading stops at the first
  // damaged record and keeps those before it.
  void LoadFromBytes(std::string_view bytes, SystemServices& system);
  std::string SaveToBytes(SystemServices& system) const;
  // A missing or unreadable file leaves the store empty.
  void LoadFromFile(const std::string& path, SystemServices& system);
  // "" on success, else the reason the file could not be replaced (the old one is kept).
  std::string SaveToFile(const std::string& path, SystemServices& system) const;

 private:
  std::vector<TProgramExtInfo> items_;
  // Upper-cased key -> position; rebuilt on the first lookup after additions.
  mutable std::unordered_map<std::string, int> index_;
  mutable std::size_t indexed_ = 0;
};

// The store becomes one record per program, in the programs' order.
void RebuildFromPrograms(TProgramExtInfoList& store, const ProgramList& programs);
// For a list that a failed scan left short: the listed programs' records are brought up to
// date or added, and every other record stays, since its program may only not have been read.
void MergeFromPrograms(TProgramExtInfoList& store, const ProgramList& programs);

// Copies the stored marks into records as the scan creates them, in scan order. Files written
// before the two machine views were told apart hold "HKLM\X" for the 32-bit entry X: such a
// record still reaches X when there is no "HKLM32\X" record and no 64-bit entry named X.
class StoreAnnotator {
 public:
  explicit StoreAnnotator(const TProgramExtInfoList& store) : store_(store) {}
  void operator()(TProgram& program);

 private:
  const TProgramExtInfoList& store_;
  std::unordered_set<std::string> machine64Names_;  // upper-cased, seen so far
};

}  // namespace orv
