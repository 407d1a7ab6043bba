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
  std::optional<std::string> ToAnsiExact(std::string_view text) override;
  std::string FromAnsi(std::string_view ansi) override;
  std::optional<std::string> ReadWholeFile(std::string_view path) override;
  std::string ReplaceWholeFile(std::string_view path, std::string_view bytes) override;
  bool CanCreateFilesIn(std::string_view folder) override;
  bool CreateFolder(std::string_view folder) override;
};

}  // namespace orv
