#include "platform/memory/memory_system.h"

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

}  // namespace orv
