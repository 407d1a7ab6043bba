#pragma once
#include "platform/system_services.h"

namespace orv {

class Win32System : public SystemServices {
 public:
  std::string ExpandEnvironment(std::string_view text) override;
  std::optional<CalendarTime> FileTimeToLocal(std::uint64_t fileTime) override;
  std::string FormatShortDate(const CalendarTime& time) override;
  std::string FormatLongTime(const CalendarTime& time) override;
  int CompareTextNoCase(std::string_view a, std::string_view b) override;
  std::string TextSortKey(std::string_view text) override;
  bool FileExists(std::string_view path) override;
  bool DirectoryExists(std::string_view path) override;
};

}  // namespace orv
