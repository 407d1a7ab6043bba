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

  // Text in the system's ANSI code page, for the files that keep it. Nothing when a character
  // has no exact form there: no best-fit look-alike ever stands in for it.
  virtual std::optional<std::string> ToAnsiExact(std::string_view text) = 0;
  virtual std::string FromAnsi(std::string_view ansi) = 0;

  // The whole file; nothing when it is missing or cannot be read.
  virtual std::optional<std::string> ReadWholeFile(std::string_view path) = 0;
  // Writes a new file beside `path`, then moves it over `path` in one step, so a failed or
  // interrupted save leaves the old file whole. "" on success, else the system's reason.
  virtual std::string ReplaceWholeFile(std::string_view path, std::string_view bytes) = 0;
  // Whether a new file can be created in the folder (tried, then removed).
  virtual bool CanCreateFilesIn(std::string_view folder) = 0;
  // Creates the folder and its missing parents; false when it does not exist afterwards.
  virtual bool CreateFolder(std::string_view folder) = 0;
};

}  // namespace orv
