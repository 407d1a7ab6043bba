#include "platform/ini_codec.h"

namespace orv {

EIniWriteError::EIniWriteError(const std::string& path)
    : std::runtime_error(path + " に書き込めません") {}

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
  bool hex = false;
  if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    hex = true;
  } else if (!text.empty() && text[0] == '$') {
    text.remove_prefix(1);
    hex = true;
  }
  if (hex) {
    // Eight hexadecimal digits cover the whole 32 bits; colours are written so by hand.
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
      int digit = c >= '0' && c <= '9'   ? c - '0'
                  : c >= 'a' && c <= 'f' ? c - 'a' + 10
                  : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                         : -1;
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(value);
  }
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::string IniCodec::ReadString(std::string_view section, std::string_view key,
                                 std::string_view def) {
  return profile_.ReadString(section, key, def);
}

std::int32_t IniCodec::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t def) {
  return ParseIniInteger(profile_.ReadString(section, key, "")).value_or(def);
}

bool IniCodec::ReadBool(std::string_view section, std::string_view key, bool def) {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniCodec::WriteString(std::string_view section, std::string_view key,
                           std::string_view value) {
  if (!profile_.WriteString(section, key, value)) throw EIniWriteError(profile_.Path());
}

void IniCodec::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniCodec::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniCodec::DeleteKey(std::string_view section, std::string_view key) {
  // Deleting a key that is not there is no failure, and the system may say it was.
  profile_.DeleteKey(section, key);
}

}  // namespace orv
