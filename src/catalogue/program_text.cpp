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
  // A result too long for the platform's path buffer is cut at a character boundary.
  constexpr std::size_t kLimit = 259;
  if (expanded.size() > kLimit) {
    std::size_t cut = kLimit;
    while (cut > 0 && (static_cast<unsigned char>(expanded[cut]) & 0xC0) == 0x80) --cut;
    expanded.resize(cut);
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
