#include "dialogs/packed_guid.h"

#include <algorithm>

namespace orv {
namespace {

bool PlainAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u > 0x20 && u < 0x7F && c != '\\';
  });
}

// Positions, counted from 0, of the 32 packed characters within the 38-character GUID text.
constexpr int kPackedFromGuid[32] = {8,  7,  6,  5,  4,  3,  2,  1,  13, 12, 11,
                                     10, 18, 17, 16, 15, 21, 20, 23, 22, 26, 25,
                                     28, 27, 30, 29, 32, 31, 34, 33, 36, 35};

}  // namespace

std::string GuidToPackedGuid(std::string_view guid) {
  if (guid.size() != 38 || guid.front() != '{' || guid.back() != '}' || !PlainAscii(guid))
    return "";
  // The dashes are dropped in the packed form: a name with anything else in their places would
  // pack to the code of another product.
  if (guid[9] != '-' || guid[14] != '-' || guid[19] != '-' || guid[24] != '-') return "";
  std::string packed(32, ' ');
  for (std::size_t i = 0; i < 32; ++i)
    packed[i] = guid[static_cast<std::size_t>(kPackedFromGuid[i])];
  return packed;
}

std::string PackedGuidToGuid(std::string_view packed) {
  if (packed.size() != 32 || !PlainAscii(packed)) return "";
  std::string guid(38, '-');
  guid.front() = '{';
  guid.back() = '}';
  for (std::size_t i = 0; i < 32; ++i)
    guid[static_cast<std::size_t>(kPackedFromGuid[i])] = packed[i];
  return guid;
}

}  // namespace orv
