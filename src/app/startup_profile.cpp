#include "app/startup_profile.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace orv {
namespace {

struct Profile {
  bool wanted = false;
  std::wstring path;
  std::uint64_t created = 0;  // the process's creation, as a file time
  std::vector<std::pair<const char*, double>> marks;
};

std::uint64_t FileTimeValue(const FILETIME& time) {
  return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

Profile& TheProfile() {
  static Profile profile = [] {
    Profile p;
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"ORV_STARTUP_PROFILE", path, MAX_PATH);
    FILETIME created{}, unused{};
    if (length == 0 || length >= MAX_PATH ||
        !GetProcessTimes(GetCurrentProcess(), &created, &unused, &unused, &unused))
      return p;
    p.wanted = true;
    p.path.assign(path, length);
    p.created = FileTimeValue(created);
    return p;
  }();
  return profile;
}

}  // namespace

void StartupMark(const char* step) {
  Profile& p = TheProfile();
  if (!p.wanted) return;
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  p.marks.emplace_back(step, static_cast<double>(FileTimeValue(now) - p.created) / 10000.0);
}

void WriteStartupProfile() {
  Profile& p = TheProfile();
  if (!p.wanted || p.marks.empty()) return;
  if (FILE* file = _wfopen(p.path.c_str(), L"w")) {
    for (const auto& [step, ms] : p.marks) std::fprintf(file, "%s|%.1f\n", step, ms);
    std::fclose(file);
  }
  p.marks.clear();
}

}  // namespace orv
