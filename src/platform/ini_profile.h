// The seam to the Windows profile (INI) functions. Every call goes to the file at once.
#pragma once
#include <memory>
#include <string>
#include <string_view>

namespace orv {

class IniProfile {
 public:
  virtual ~IniProfile() = default;
  // The stored text, or `fallback` when the key is absent. At most 2047 characters.
  virtual std::string ReadString(std::string_view section, std::string_view key,
                                 std::string_view fallback) = 0;
  // False when the system refused the write.
  virtual bool WriteString(std::string_view section, std::string_view key,
                           std::string_view value) = 0;
  virtual bool DeleteKey(std::string_view section, std::string_view key) = 0;
  virtual const std::string& Path() const = 0;
};

}  // namespace orv
