#pragma once
#include "platform/ini_profile.h"

namespace orv {

// The system's private-profile functions over one file; nothing is cached.
class Win32Ini : public IniProfile {
 public:
  explicit Win32Ini(std::string path) : path_(std::move(path)) {}
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) override;
  bool WriteString(std::string_view section, std::string_view key,
                   std::string_view value) override;
  bool DeleteKey(std::string_view section, std::string_view key) override;
  const std::string& Path() const override { return path_; }

 private:
  std::string path_;
};

}  // namespace orv
