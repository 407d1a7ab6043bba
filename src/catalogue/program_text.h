// The small conversions that fill or present a program record's fields.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system_services.h"

namespace orv {

// Removes at most one single or double quote at each end; quotes inside stay.
std::string StripQuotes(std::string_view text);

// Environment expansion, limited like the platform's to 259 characters of result.
std::string ExpandEnvironment(SystemServices& system, std::string_view text);

// A file time as a local date-time; nothing for 0 and for all bits set.
std::optional<CalendarTime> FileTimeToDateTime(SystemServices& system, std::uint32_t low,
                                               std::uint32_t high);
std::string FileTimeToText(SystemServices& system, std::uint32_t low, std::uint32_t high);
inline std::string FileTimeToText(SystemServices& system, std::uint64_t fileTime) {
  return FileTimeToText(system, static_cast<std::uint32_t>(fileTime),
                        static_cast<std::uint32_t>(fileTime >> 32));
}

}  // namespace orv
