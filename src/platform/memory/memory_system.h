// Fixed, predictable system services for host tests: UTC, ISO dates, a small environment.
#pragma once
#include <map>
#include <set>
#include <string>

#include "platform/system_services.h"

namespace orv {

class MemorySystem : public SystemServices {
 public:
  std::string ExpandEnvironment(std::string_view text) override;
  std::optional<CalendarTime> FileTimeToLocal(std::uint64_t fileTime) override;
  std::string FormatShortDate(const CalendarTime& time) override;
  std::string FormatLongTime(const CalendarTime& time) override;
  int CompareTextNoCase(std::string_view a, std::string_view b) override;
  std::string TextSortKey(std::string_view text) override;
  bool FileExists(std::string_view path) override { return files.count(std::string(path)) != 0; }
  bool DirectoryExists(std::string_view path) override {
    return directories.count(std::string(path)) != 0;
  }

  std::map<std::string, std::string> environment{{"SYSTEMROOT", "C:\\Windows"},
                                                 {"PROGRAMFILES", "C:\\Program Files"}};
  std::set<std::string> files;
  std::set<std::string> directories;
};

}  // namespace orv
