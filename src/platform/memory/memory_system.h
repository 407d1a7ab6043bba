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
  bool FileExists(std::string_view path) override {
    return files.count(std::string(path)) != 0 || contents.count(std::string(path)) != 0;
  }
  bool DirectoryExists(std::string_view path) override {
    return directories.count(std::string(path)) != 0;
  }

  std::map<std::string, std::string> environment{{"SYSTEMROOT", "C:\\Windows"},
                                                 {"PROGRAMFILES", "C:\\Program Files"}};
  // Code page 932 through iconv, as the Japanese system converts.
  std::optional<std::string> ToAnsiExact(std::string_view text) override;
  std::string FromAnsi(std::string_view ansi) override;
  std::optional<std::string> ReadWholeFile(std::string_view path) override;
  std::string ReplaceWholeFile(std::string_view path, std::string_view bytes) override;
  bool CanCreateFilesIn(std::string_view folder) override {
    return DirectoryExists(folder) && !readOnlyFolders.count(std::string(folder));
  }
  bool CreateFolder(std::string_view folder) override;

  std::set<std::string> files;
  std::set<std::string> directories;
  std::map<std::string, std::string> contents;  // files with contents, by full path
  std::set<std::string> readOnlyFolders;        // folders where nothing can be created
  bool failWrites = false;                      // every write fails, as on a full disk
};

}  // namespace orv
