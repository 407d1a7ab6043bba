// Reading a shortcut file (.lnk) through the shell link object.
#pragma once
#include <string>

namespace orv {

// The shortcut's target path as stored, not searched for when it has moved; empty when the
// file cannot be read as a shortcut or has no file-system target.
std::string ResolveShortcut(const std::string& path);

}  // namespace orv
