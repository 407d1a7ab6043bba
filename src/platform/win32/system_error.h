// The system's own text for an error code, for the "エラー" boxes.
#pragma once
#include <cstdint>
#include <string>

namespace orv {

// The message the system has for `code`, without its line break; a text with the number
// when it has none.
std::string SystemErrorText(std::uint32_t code);

}  // namespace orv
