#include "catalogue/program_text.h"

#include "catalogue/program.h"

namespace orv {

std::string ProgramIdentityKey(RegistryRoot root, const std::string& keyName) {
  switch (root) {
    case RegistryRoot::CurrentUser: return "HKCU\\" + keyName;
    case RegistryRoot::LocalMachine: return "HKLM\\" + keyName;
    case RegistryRoot::LocalMachine32: return "HKLM32\\" + keyName;
  }
  return keyName;
}

std::string StripQuotes(std::string_view text) {
  auto isQuote = [](char c) { return c == '"' || c == '\''; };
  if (!text.empty() && isQuote(text.front())) text.remove_prefix(1);
  // In UTF-8 a quote byte is always a whole character, never the trail of another.
  if (!text.empty() && isQuote(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string ExpandEnvironment(SystemServices& system, std::string_view text) {
  if (text.find('%') == std::string_view::npos) return std::string(text);
  std::string expanded = system.ExpandEnvironment(text);
  // A result too long for the platform's path buffer (259 UTF-16 units) is cut before the
  // first character that does not fit; a character outside the BMP takes two units.
  constexpr std::size_t kLimit = 259;
  std::size_t units = 0;
  for (std::size_t i = 0; i < expanded.size();) {
    const auto lead = static_cast<unsigned char>(expanded[i]);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    units += length == 4 ? 2 : 1;
    if (units > kLimit) {
      expanded.resize(i);
      break;
    }
    i += length;
  }
  return expanded;
}

std::optional<CalendarTime> FileTimeToDateTime(SystemServices& system, std::uint32_t low,
                                               std::uint32_t high) {
  if (low == 0 && high == 0) return std::nullopt;
  if (low == 0xFFFFFFFFu && high == 0xFFFFFFFFu) return std::nullopt;
  return system.FileTimeToLocal((static_cast<std::uint64_t>(high) << 32) | low);
}

std::string FileTimeToText(SystemServices& system, std::uint32_t low, std::uint32_t high) {
  auto time = FileTimeToDateTime(system, low, high);
  if (!time) return "";
  std::string text = system.FormatShortDate(*time);
  bool midnight = time->hour == 0 && time->minute == 0 && time->second == 0 &&
                  time->millisecond == 0;
  if (!midnight) text += " " + system.FormatLongTime(*time);
  return text;
}

}  // namespace orv
