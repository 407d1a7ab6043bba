// UTF-8 inside the program, UTF-16 at the Win32 boundary: the one pair of converters.
#pragma once
#include <string>
#include <string_view>

namespace orv {

// Invalid input becomes U+FFFD; conversion never fails. The three-byte form of a surrogate
// becomes that surrogate again (see KeyNameToUtf8).
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// A registry key name may hold unpaired surrogates; it must survive the way back to be opened
// again, so each keeps its three-byte form here instead of becoming U+FFFD.
std::string KeyNameToUtf8(std::u16string_view name);

// UTF-16LE bytes as the registry stores them, up to the first NUL character.
std::string Utf16LeBytesToUtf8(const unsigned char* data, std::size_t size);

// ASCII-only case folding, as the update rule and identity keys need.
bool EqualsAsciiNoCase(std::string_view a, std::string_view b);
std::string AsciiUpper(std::string_view text);

// Removes leading and trailing characters whose code is 32 or below.
std::string TrimControls(std::string_view text);

}  // namespace orv
