// The running executable's file: its path, and the "FileVersion" string of a file's version
// resource.
#pragma once
#include <string>

namespace orv {

// The string under the file's first translation; empty when the file has no version
// resource, no whole translation entry or no such string. The version library is loaded
// from the system folder only.
std::string ReadFileVersion(const std::wstring& path);

// The full path of the running executable, of any length.
std::wstring ExecutablePath();

}  // namespace orv
