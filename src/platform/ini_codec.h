// The value forms of the settings file: integers (decimal, "0x" or "$" hexadecimal), booleans
// stored as integers, strings of at most 2047 characters. Every section uses these.
#pragma once
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/ini_profile.h"

namespace orv {

// Raised when the system refuses a write; the message names the file.
class EIniWriteError : public std::runtime_error {
 public:
  explicit EIniWriteError(const std::string& path);
};

std::optional<std::int32_t> ParseIniInteger(std::string_view text);

class IniCodec {
 public:
  explicit IniCodec(IniProfile& profile) : profile_(profile) {}

  std::string ReadString(std::string_view section, std::string_view key, std::string_view def);
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def);
  bool ReadBool(std::string_view section, std::string_view key, bool def);

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  void DeleteKey(std::string_view section, std::string_view key);

 private:
  IniProfile& profile_;
};

}  // namespace orv
