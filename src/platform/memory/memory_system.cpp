#include "platform/memory/memory_system.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

#include "text/utf.h"

namespace orv {

std::string MemorySystem::ExpandEnvironment(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t open = text.find('%', i);
    std::size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
    if (close == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    out.append(text.substr(i, open - i));
    auto it = environment.find(AsciiUpper(text.substr(open + 1, close - open - 1)));
    if (it != environment.end()) {
      out.append(it->second);
      i = close + 1;
    } else {
      out.append(text.substr(open, close - open));  // the second % may open a reference
      i = close;
    }
  }
  return out;
}

std::optional<CalendarTime> MemorySystem::FileTimeToLocal(std::uint64_t fileTime) {
  // Civil-from-days over the Unix epoch; the host runs in UTC.
  constexpr std::uint64_t kMaxValid = 0x7FFFFFFFFFFFFFFFull;
  if (fileTime > kMaxValid) return std::nullopt;
  std::int64_t ticks = static_cast<std::int64_t>(fileTime);
  std::int64_t seconds = ticks / 10000000 - 11644473600LL;
  std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  std::int64_t rem = seconds - days * 86400;
  days += 719468;
  std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  std::int64_t doe = days - era * 146097;
  std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  std::int64_t mp = (5 * doy + 2) / 153;
  CalendarTime t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
  t.hour = static_cast<int>(rem / 3600);
  t.minute = static_cast<int>(rem / 60 % 60);
  t.second = static_cast<int>(rem % 60);
  t.millisecond = static_cast<int>(ticks / 10000 % 1000);
  return t;
}

std::string MemorySystem::FormatShortDate(const CalendarTime& t) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", t.year, t.month, t.day);
  return buffer;
}

std::string MemorySystem::FormatLongTime(const CalendarTime& t) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d", t.hour, t.minute, t.second);
  return buffer;
}

int MemorySystem::CompareTextNoCase(std::string_view a, std::string_view b) {
  std::string x = AsciiUpper(a), y = AsciiUpper(b);
  return x < y ? -1 : x > y ? 1 : 0;
}

std::string MemorySystem::TextSortKey(std::string_view text) { return AsciiUpper(text); }

namespace {

// Converts all of `text`; nothing when a character has no form in the target.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view text) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(text.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

std::string FolderOf(std::string_view path) {
  std::size_t slash = path.find_last_of('\\');
  return std::string(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash));
}

}  // namespace

std::optional<std::string> MemorySystem::ToAnsiExact(std::string_view text) {
  return Convert("CP932", "UTF-8", text);
}

std::string MemorySystem::FromAnsi(std::string_view ansi) {
  std::optional<std::string> text = Convert("UTF-8", "CP932", ansi);
  return text ? *text : std::string(ansi.size(), '?');
}

std::optional<std::string> MemorySystem::ReadWholeFile(std::string_view path) {
  auto it = contents.find(std::string(path));
  if (it == contents.end()) return std::nullopt;
  return it->second;
}

std::string MemorySystem::ReplaceWholeFile(std::string_view path, std::string_view bytes) {
  const std::string folder = FolderOf(path);
  if (failWrites) return "ディスクに十分な空き領域がありません。";
  if (!CanCreateFilesIn(folder)) return "アクセスが拒否されました。";
  contents[std::string(path)] = std::string(bytes);
  return "";
}

bool MemorySystem::CreateFolder(std::string_view folder) {
  if (folder.empty()) return false;
  if (!DirectoryExists(folder)) {
    const std::string parent = FolderOf(folder);
    if (parent.empty() || !CreateFolder(parent) || readOnlyFolders.count(parent)) return false;
    directories.insert(std::string(folder));
  }
  return true;
}

}  // namespace orv
