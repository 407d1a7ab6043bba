// The value forms of the settings file: integers (decimal, "0x" or "$" hexadecimal), booleans
// stored as integers, strings of at most 2047 characters. Every section uses these.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

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

// What a save does with a key: write the value, leave what the file holds, or delete the key.
enum class IniSave { Write, Keep, Delete };

// One key of a section, declared once with the member of `T` it is read into and written from;
// its default is that member of the defaults given to the read.
template <class T>
struct IniField {
  const char* key;  // the key, or its stem before an index ("Width" of "Width3")
  std::variant<bool T::*, std::int32_t T::*, std::uint32_t T::*, std::string T::*> member;
  IniSave (*save)(const T&) = nullptr;  // none: always written
};

// Reads every field of `section` into `value`; a key that is absent or no value of its type
// gives the member of `defaults`. `index` follows each key's stem ("" for none).
template <class T>
void ReadFields(IniCodec& codec, std::string_view section, std::span<const IniField<T>> fields,
                T& value, const T& defaults, std::string_view index = {}) {
  for (const IniField<T>& field : fields) {
    const std::string key = std::string(field.key) + std::string(index);
    std::visit(
        [&](auto member) {
          using Member = std::remove_cvref_t<decltype(value.*member)>;
          if constexpr (std::is_same_v<Member, bool>)
            value.*member = codec.ReadBool(section, key, defaults.*member);
          else if constexpr (std::is_same_v<Member, std::string>)
            value.*member = codec.ReadString(section, key, defaults.*member);
          else
            value.*member = static_cast<Member>(
                codec.ReadInteger(section, key, static_cast<std::int32_t>(defaults.*member)));
        },
        field.member);
  }
}

// Writes every field of `section` from `value`, in declaration order, as each field's save
// rule says. Throws EIniWriteError when the system refuses a write.
template <class T>
void WriteFields(IniCodec& codec, std::string_view section, std::span<const IniField<T>> fields,
                 const T& value, std::string_view index = {}) {
  for (const IniField<T>& field : fields) {
    const std::string key = std::string(field.key) + std::string(index);
    const IniSave save = field.save ? field.save(value) : IniSave::Write;
    if (save == IniSave::Keep) continue;
    if (save == IniSave::Delete) {
      codec.DeleteKey(section, key);
      continue;
    }
    std::visit(
        [&](auto member) {
          using Member = std::remove_cvref_t<decltype(value.*member)>;
          if constexpr (std::is_same_v<Member, bool>)
            codec.WriteBool(section, key, value.*member);
          else if constexpr (std::is_same_v<Member, std::string>)
            codec.WriteString(section, key, value.*member);
          else
            codec.WriteInteger(section, key, static_cast<std::int32_t>(value.*member));
        },
        field.member);
  }
}

}  // namespace orv
