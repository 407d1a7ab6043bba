// Builds Uninstall entries in the in-memory registry.
#pragma once
#include <cstring>
#include <string>
#include <vector>

#include "catalogue/registry_ex.h"
#include "platform/memory/memory_registry.h"

namespace orv::test {

inline std::string EntryPath(std::string_view name) {
  return std::string(kUninstallKey) + std::string(name);
}
inline std::string CachePath(std::string_view name) {
  return std::string(kArpCacheKey) + std::string(name);
}

// A SlowInfoCache record laid out as the system writes it.
inline std::vector<unsigned char> SlowInfo(std::int64_t size, std::uint64_t lastUsed,
                                           std::int32_t frequency, std::u16string fileName) {
  std::vector<unsigned char> bytes(552, 0);
  std::uint32_t recordSize = 552, hasName = fileName.empty() ? 0 : 1;
  std::memcpy(&bytes[0], &recordSize, 4);
  std::memcpy(&bytes[4], &hasName, 4);
  std::memcpy(&bytes[8], &size, 8);
  std::memcpy(&bytes[16], &lastUsed, 8);
  std::memcpy(&bytes[24], &frequency, 4);
  for (std::size_t i = 0; i < fileName.size() && 28 + 2 * i + 1 < 552; ++i) {
    bytes[28 + 2 * i] = static_cast<unsigned char>(fileName[i] & 0xFF);
    bytes[29 + 2 * i] = static_cast<unsigned char>(fileName[i] >> 8);
  }
  return bytes;
}

}  // namespace orv::test
