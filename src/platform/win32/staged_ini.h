// A settings save that lands whole or not at all.
#pragma once
#include <string>

#include "platform/win32/win32_ini.h"

namespace orv {

// The profile functions write one key at a time, so a save cut short would leave the file half
// old, half new. Here they write into a copy beside the file, and Commit puts the copy in place
// in one step. The copy keeps every key and section it does not touch and the file's code page.
class StagedIni : public IniProfile {
 public:
  // Throws std::runtime_error when the copy cannot be made.
  explicit StagedIni(std::string path);
  ~StagedIni() override;
  StagedIni(const StagedIni&) = delete;
  StagedIni& operator=(const StagedIni&) = delete;

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) override {
    return staging_.ReadString(section, key, fallback);
  }
  bool WriteString(std::string_view section, std::string_view key,
                   std::string_view value) override {
    return staging_.WriteString(section, key, value);
  }
  bool DeleteKey(std::string_view section, std::string_view key) override {
    return staging_.DeleteKey(section, key);
  }
  // The real file's name, so a refused write names the file the user knows.
  const std::string& Path() const override { return path_; }

  // Replaces the file with the copy; throws std::runtime_error naming the file and the reason.
  void Commit();

 private:
  std::string path_;
  Win32Ini staging_;
};

}  // namespace orv
