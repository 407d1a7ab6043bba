// The packed-GUID conversions: whatever either side accepts converts back to exactly what was
// given, and the packed form is safe as one registry key name.
#include <cstdlib>
#include <string>

#include "dialogs/packed_guid.h"

namespace {

bool GuidShaped(const std::string& text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
  for (std::size_t i = 1; i + 1 < text.size(); ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    const char c = text[i];
    const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    if (dash ? c != '-' : !hex) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  const std::string packed = orv::GuidToPackedGuid(input);
  if (!packed.empty()) {
    if (packed.size() != 32) std::abort();
    for (char c : packed)
      if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7F ||
          c == '\\')
        std::abort();
    if (orv::PackedGuidToGuid(packed) != input) std::abort();
  } else if (GuidShaped(input)) {
    std::abort();  // a GUID written the usual way always packs
  }

  const std::string guid = orv::PackedGuidToGuid(input);
  if (!guid.empty()) {
    if (guid.size() != 38 || guid.front() != '{' || guid.back() != '}') std::abort();
    if (guid[9] != '-' || guid[14] != '-' || guid[19] != '-' || guid[24] != '-') std::abort();
    if (orv::GuidToPackedGuid(guid) != input) std::abort();
  }
  return 0;
}
