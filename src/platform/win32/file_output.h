// Files the program writes whole: in code page 932, and never truncating the old file before
// the new one is complete.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// UTF-8 text in code page 932 (Shift-JIS), whatever the system's own code page. A character
// the code page cannot hold becomes "?", never a look-alike (no best-fit: "¥" is not "\").
// Nothing when the system cannot convert at all (GetLastError tells why).
std::optional<std::string> Utf8ToCodePage932(std::string_view text);

// Writes all of `bytes` to an open file handle, checking every write: 0, or the system's error
// code of the first write that failed or fell short.
unsigned long WriteWhole(void* file, std::string_view bytes);

// Writes `bytes` to a new file in the folder of `path`, checks every write and the close,
// then puts it in place of `path` in one step. On failure the new file is removed, the old
// one is left as it was, and std::runtime_error names the file and the system's reason.
void ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace orv
