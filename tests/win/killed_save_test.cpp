// A process killed at any point of a save leaves an "appdata" and an "Orvalinde.ini" that load
// whole, each holding one generation, with the settings file's other sections kept.
#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

#include "annotations/annotation_store.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_system.h"

namespace orv::test {
namespace {

std::wstring Beside(const wchar_t* name) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

// 'A' or 'B' when all 30 keys hold one generation, 0 when none is there, else '?'.
char IniGeneration(const std::wstring& ini) {
  char seen = 0;
  int absent = 0;
  for (int i = 0; i < 30; ++i) {
    wchar_t value[64] = {};
    GetPrivateProfileStringW(L"Option", (L"Key" + std::to_wstring(i)).c_str(), L"", value, 64, ini.c_str());
    const std::wstring text = value;
    if (text.empty()) {
      ++absent;
      continue;
    }
    if (text.size() != 40 || text.find_first_not_of(text[0]) != std::wstring::npos) return '?';
    const char generation = static_cast<char>(text[0]);
    if (seen && seen != generation) return '?';
    seen = generation;
  }
  return absent == 30 ? 0 : absent == 0 ? seen : '?';
}

// 1 or 2 when all 50 records are there with one generation's tag, else 0.
int AppDataGeneration(const std::string& path, Win32System& system) {
  TProgramExtInfoList store;
  store.LoadFromFile(path, system);
  if (store.Count() != 50) return 0;
  const int tag = store.Items(0).TagIndex;
  for (int i = 0; i < store.Count(); ++i)
    if (store.Items(i).TagIndex != tag || store.Items(i).Key != "HKLM\\Entry" + std::to_string(i)) return 0;
  return tag;
}

TEST(KilledSave, EveryKillLeavesBothFilesWhole) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"orv_killed_save";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring ini = folder + L"\\Orvalinde.ini";
  const std::string appData = Narrow(folder) + "\\appdata";
  DeleteFileW(ini.c_str());
  DeleteFileW(Widen(appData).c_str());
  ASSERT_TRUE(WritePrivateProfileStringW(L"Other", L"Keep", L"保持", ini.c_str()));

  Win32System system;
  std::mt19937 random(20261210);
  int changes = 0;
  char lastIni = 0;
  int lastAppData = 0;
  for (int round = 0; round < 200; ++round) {
    const std::wstring eventName = L"OrvSaveLoopSaving" + std::to_wstring(GetCurrentProcessId());
    HANDLE saving = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    ASSERT_NE(saving, nullptr);
    std::wstring line = L"\"" + Beside(L"save_loop.exe") + L"\" \"" + folder + L"\" " +
                         std::to_wstring(round % 2) + L" " + eventName;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process))
        << "round " << round << ": " << Narrow(line) << " error " << GetLastError();
    // Every kill lands while the saver is saving: the random wait starts when it begins.
    const DWORD started = WaitForSingleObject(saving, 30000);
    CloseHandle(saving);
    if (started != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 9);
    ASSERT_EQ(started, WAIT_OBJECT_0) << "round " << round << ": the saver never began";
    Sleep(std::uniform_int_distribution<DWORD>(0, 30)(random));
    TerminateProcess(process.hProcess, 9);
    WaitForSingleObject(process.hProcess, 10000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(code, 9u) << "round " << round << ": the saver stopped by itself";

    wchar_t kept[16] = {};
    GetPrivateProfileStringW(L"Other", L"Keep", L"", kept, 16, ini.c_str());
    ASSERT_STREQ(kept, L"保持") << "round " << round;
    const char iniGeneration = IniGeneration(ini);
    // Before the first save lands the keys are all absent: that is the old content too.
    if (lastIni != 0 || iniGeneration != 0) {
      ASSERT_TRUE(iniGeneration == 'A' || iniGeneration == 'B') << "round " << round;
    }
    if (GetFileAttributesW(Widen(appData).c_str()) != INVALID_FILE_ATTRIBUTES || lastAppData) {
      const int generation = AppDataGeneration(appData, system);
      ASSERT_TRUE(generation == 1 || generation == 2) << "round " << round;
      if (lastAppData && generation != lastAppData) ++changes;
      lastAppData = generation;
    }
    lastIni = iniGeneration;
  }
  EXPECT_GT(changes, 0) << "no save ever got through: the kills never met a save";
  DeleteFileW(ini.c_str());
  DeleteFileW((ini + L".saving").c_str());
  DeleteFileW(Widen(appData).c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace orv::test
