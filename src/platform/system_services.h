// The seam to kernel, locale and file-system services.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

struct CalendarTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
  bool operator==(const CalendarTime&) const = default;
};

class SystemServices {
 public:
  virtual ~SystemServices() = default;
  // %name% references replaced; unknown ones stay as written.
  virtual std::string ExpandEnvironment(std::string_view text) = 0;
  // A UTC file time as local calendar fields; nothing when the platform cannot split it.
  virtual std::optional<CalendarTime> FileTimeToLocal(std::uint64_t fileTime) = 0;
  // The date in the user's short date format; the time in the user's long time format.
  virtual std::string FormatShortDate(const CalendarTime& time) = 0;
  virtual std::string FormatLongTime(const CalendarTime& time) = 0;
  // The user locale's case-insensitive order: <0, 0, >0.
  virtual int CompareTextNoCase(std::string_view a, std::string_view b) = 0;
  // A key whose byte order is the order of CompareTextNoCase: sorting compares keys, not texts.
  virtual std::string TextSortKey(std::string_view text) = 0;
  virtual bool FileExists(std::string_view path) = 0;
  virtual bool DirectoryExists(std::string_view path) = 0;
};

}  // namespace orv
