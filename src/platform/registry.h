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

// A subkey as the enumeration gives it: its name and when it or one of its values last
// changed (a UTC file time, in 100 ns units).
struct SubKeyEntry {
  std::string name;
  std::uint64_t lastWrite = 0;
};

// The outcome of a registry change: the system's error code, 0 when it was done.
struct RegistryStatus {
  std::uint32_t error = 0;
  explicit operator bool() const { return error == 0; }
};

// System error codes the portable code tells apart.
inline constexpr std::uint32_t kRegErrorNotFound = 2;      // ERROR_FILE_NOT_FOUND
inline constexpr std::uint32_t kRegErrorPathNotFound = 3;  // ERROR_PATH_NOT_FOUND
inline constexpr std::uint32_t kRegErrorAccessDenied = 5;  // ERROR_ACCESS_DENIED
inline constexpr std::uint32_t kRegErrorInvalidName = 123; // ERROR_INVALID_NAME

// A name that stands for exactly one direct subkey: not empty, no "\" and no NUL, which the
// system would read as a path or cut short.
inline bool IsPlainKeyName(std::string_view name) {
  return !name.empty() && name.find('\\') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // A direct subkey of this key; null when missing or not accessible.
  virtual std::unique_ptr<RegistryKey> OpenSubKey(std::string_view name, KeyAccess access) = 0;
  // Subkey names in the registry's enumeration order.
  virtual std::vector<std::string> SubKeyNames() = 0;
  // The same enumeration with each subkey's last-write time, at no extra registry call.
  virtual std::vector<SubKeyEntry> SubKeys() = 0;
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
  // Deletes the named direct subkey with everything below it, deepest first. A symbolic link
  // inside the tree is deleted as a link: its target, elsewhere in the registry, stays.
  // An empty name or one holding "\" or a NUL is refused (kRegErrorInvalidName).
  virtual RegistryStatus DeleteSubKeyTree(std::string_view name) = 0;
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
  // The registry's clock now, on the scale of SubKeyEntry::lastWrite.
  virtual std::uint64_t Now() = 0;
};

}  // namespace orv
