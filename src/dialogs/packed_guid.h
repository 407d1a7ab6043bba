// Windows Installer's packed form of a GUID: 32 hexadecimal characters, groups reversed.
#pragma once
#include <string>
#include <string_view>

namespace orv {

// "{8-4-4-4-12}" (38 characters, the dashes in their places) to its packed form; "" for
// anything else. The characters of the groups are taken as they are, but only printable ASCII
// other than a backslash: the result becomes part of a registry path.
std::string GuidToPackedGuid(std::string_view guid);
// 32 characters of the same kind back to "{8-4-4-4-12}"; "" for anything else.
std::string PackedGuidToGuid(std::string_view packed);

}  // namespace orv
