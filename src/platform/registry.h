// The seam to the registry: a Win32 implementation for the exe, an in-memory one for host tests.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// A hive together with the registry view it is read in. 32-bit installers register their
// programs in the 32-bit view of HKEY_LOCAL_MACHINE, which a 64-bit process does not see by default.
enum class RegistryRoot : std::uint8_t { CurrentUser, LocalMachine, LocalMachine32 };

inline constexpr RegistryRoot kAllRegistryRoots[] = {
    RegistryRoot::CurrentUser, RegistryRoot::LocalMachine, RegistryRoot::LocalMachine32};

// Registry value type codes, as Windows numbers them.
enum RegistryType : std::uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegDwordBigEndian = 5,
  kRegMultiSz = 7,
  kRegQword = 11,
};

struct RegistryValue {
  std::uint32_t type = kRegNone;
  std::vector<unsigned char> data;  // raw bytes; strings are UTF-16LE
};

enum class KeyAccess { Read, ReadWrite };

// System error codes the program tells apart; any other code is shown with the system's text.
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorPathNotFound = 3;
inline constexpr std::uint32_t kErrorAccessDenied = 5;

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // A direct subkey of this key; null when missing or not accessible.
  virtual std::unique_ptr<RegistryKey> OpenSubKey(std::string_view name, KeyAccess access) = 0;
  // Subkey names in the registry's enumeration order.
  virtual std::vector<std::string> SubKeyNames() = 0;
  // Answered by the key's own bookkeeping: no enumeration.
  virtual std::optional<std::uint32_t> SubKeyCount() = 0;
  virtual bool ValueExists(std::string_view name) = 0;
  // False when the value is missing. `out` keeps its capacity between calls.
  virtual bool QueryValue(std::string_view name, RegistryValue& out) = 0;
  // Every value of the key in one pass, when it has at most `maxValues` values of at most
  // `maxBytes` bytes each; false (and `out` unspecified) otherwise, or on any failure.
  virtual bool ReadAllValues(std::vector<std::pair<std::string, RegistryValue>>& out,
                             std::size_t maxValues, std::size_t maxBytes) = 0;
  virtual bool WriteString(std::string_view name, std::string_view text) = 0;
  virtual bool DeleteValue(std::string_view name) = 0;
  // Deletes the named subkey with everything below it.
  virtual bool DeleteSubKeyTree(std::string_view name) = 0;
  // The system's error code of this key's last write or delete that failed; 0 when none did.
  virtual std::uint32_t LastError() const { return 0; }
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens an existing key; never creates one. Null when missing or not accessible.
  virtual std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                               KeyAccess access) = 0;
  // The system's error code of the calling thread's last OpenKey that failed; 0 when none did.
  virtual std::uint32_t LastOpenError() const { return 0; }
};

}  // namespace orv
