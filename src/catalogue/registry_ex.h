// The program's registry accessor: one root, at most one open key, tolerant reads.
#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace orv {

class ERegistryException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr std::string_view kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr std::string_view kArpCacheKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache\\";

class TRegistryEx {
 public:
  explicit TRegistryEx(Registry& registry) : registry_(registry) {}

  void SetRootKey(RegistryRoot root) { root_ = root; }
  RegistryRoot RootKey() const { return root_; }

  bool OpenKeyReadOnly(std::string_view path);
  // Opens a direct subkey of a key held elsewhere: one step instead of a path from the root.
  bool OpenSubKeyReadOnly(RegistryKey& parent, std::string_view name);
  // Hands the open key over to the caller (the accessor is left without one).
  std::unique_ptr<RegistryKey> ReleaseKey() {
    DropSnapshot();
    return std::move(key_);
  }
  // Opens an existing key for reading and writing; never creates one.
  bool OpenKeyForWrite(std::string_view path);
  void CloseKey() {
    key_.reset();
    DropSnapshot();
  }
  // Reads every value of the open key at once, so the reads that follow cost no registry
  // call; keys with unusually many or large values are still read value by value.
  void TakeSnapshot();
  bool HasOpenKey() const { return key_ != nullptr; }

  std::vector<std::string> GetKeyNames();
  // The open key's subkey count from the registry's bookkeeping, or -1.
  std::int32_t SubKeyCount();
  bool ValueExists(std::string_view name);

  // Strict reads: a missing value or one of another type raises ERegistryException.
  std::string ReadString(std::string_view name);
  std::int32_t ReadInteger(std::string_view name);
  // Raw bytes into `buffer`; refuses strings, 32-bit integers and values longer than `size`.
  // Returns the number of bytes read, 0 for a missing value.
  std::uint32_t ReadBinaryData(std::string_view name, void* buffer, std::uint32_t size);

  bool WriteString(std::string_view name, std::string_view text);
  bool DeleteValue(std::string_view name);
  // The named direct subkey with everything below it; empty names and paths are refused.
  RegistryStatus DeleteKey(std::string_view name);

  // The raw value: existence, type and data in one query. False when missing.
  bool QueryValue(std::string_view name, RegistryValue& out);
  // One query for existence, type and data; what the tolerant helpers stand on.
  bool TryReadString(std::string_view name, std::string& out);
  bool TryReadInteger(std::string_view name, std::int32_t& out);

 private:
  Registry& registry_;
  RegistryRoot root_ = RegistryRoot::CurrentUser;
  bool Query(std::string_view name, RegistryValue& out);
  void DropSnapshot() {
    snapshot_.clear();
    hasSnapshot_ = false;
  }

  std::unique_ptr<RegistryKey> key_;
  RegistryValue scratch_;
  std::vector<std::pair<std::string, RegistryValue>> snapshot_;
  bool hasSnapshot_ = false;
};

// A missing or mistyped value reads as the default.
std::string ReadStringDef(TRegistryEx& registry, std::string_view name, std::string_view def);
std::int32_t ReadIntegerDef(TRegistryEx& registry, std::string_view name, std::int32_t def);

}  // namespace orv
