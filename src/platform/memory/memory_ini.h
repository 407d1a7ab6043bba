// An in-memory INI profile for host tests, with a switch that makes the system refuse writes.
#pragma once
#include <map>
#include <string>

#include "platform/ini_profile.h"

namespace orv {

class MemoryIni : public IniProfile {
 public:
  explicit MemoryIni(std::string path = "C:\\Orvalinde\\Orvalinde.ini") : path_(std::move(path)) {}
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) override;
  bool WriteString(std::string_view section, std::string_view key,
                   std::string_view value) override;
  bool DeleteKey(std::string_view section, std::string_view key) override;
  const std::string& Path() const override { return path_; }

  bool Has(std::string_view section, std::string_view key) const;
  std::size_t Count() const { return values_.size(); }
  bool refuseWrites = false;

 private:
  static std::string Key(std::string_view section, std::string_view key);
  std::string path_;
  std::map<std::string, std::string> values_;
};

}  // namespace orv
