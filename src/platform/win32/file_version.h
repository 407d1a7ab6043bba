// The "FileVersion" string of a file's version resource.
#pragma once
#include <string>

namespace orv {

// The string under the file's first translation; empty when the file has no version
// resource, no whole translation entry or no such string. The version library is loaded
// from the system folder only.
std::string ReadFileVersion(const std::wstring& path);

}  // namespace orv
