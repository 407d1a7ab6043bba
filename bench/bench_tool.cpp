// The benchmark's Windows side, run under Wine in a private prefix by bench/run:
//   populate N        replaces the synthetic entries with N new ones over the three roots
//   scan R            the scan alone (all three roots, records filled), R runs, on the default
//                     count of threads, on one and on two
//   floor R           the same registry reads with bare Win32 calls and nothing else
//   tick R            one watch tick (three subkey counts)
//   window EXE R      start-up (with the window's own steps), full refresh, the watch's refresh
//                     after one entry is removed, tab redisplay, sorts, a find, the CSV export
//                     and peak working set of EXE
// Every figure is printed as "name value" in milliseconds (median of the runs), bytes or a count.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/command_ids.h"
#include "dialogs/find_dialog_ids.h"
#include "catalogue/registry_watch.h"
#include "catalogue/uninstall_scan.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"

namespace {

const wchar_t* kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t* kArpCache = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache";

struct Root {
  HKEY hive;
  REGSAM view;
};
const Root kRoots[] = {{HKEY_CURRENT_USER, 0},
                       {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY},
                       {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY}};

double NowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

double TimeMedian(int runs, const std::function<void()>& body) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    double start = NowMs();
    body();
    times.push_back(NowMs() - start);
  }
  return Median(times);
}

void Print(const char* name, double value) { std::printf("%s %.3f\n", name, value); }

// --- populate -------------------------------------------------------------------------------

void SetString(HKEY key, const wchar_t* name, const std::wstring& text) {
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void SetDword(HKEY key, const wchar_t* name, DWORD value) {
  RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
}

void RemoveBenchEntries() {
  for (const Root& root : kRoots) {
    for (const wchar_t* parent : {kUninstall, kArpCache}) {
      HKEY key = nullptr;
      if (RegOpenKeyExW(root.hive, parent, 0, KEY_ALL_ACCESS | root.view, &key) != ERROR_SUCCESS)
        continue;
      std::vector<std::wstring> doomed;
      wchar_t name[256];
      for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
          break;
        if (wcsstr(name, L"OrvBench")) doomed.push_back(name);
      }
      for (const auto& n : doomed) RegDeleteTreeW(key, n.c_str()), RegDeleteKeyExW(key, n.c_str(), root.view, 0);
      RegCloseKey(key);
    }
  }
}

// Entries shaped like real ones: half Windows Installer products named by a GUID, half plain
// installers; about a dozen values each; a SlowInfoCache record for every other entry.
void Populate(int count) {
  RemoveBenchEntries();
  for (int i = 0; i < count; ++i) {
    const Root& root = kRoots[i % 20 < 3 ? 0 : i % 20 < 14 ? 1 : 2];
    const bool msi = i % 2 == 0;
    wchar_t name[96];
    if (msi)
      swprintf(name, 96, L"{%08X-0000-4000-8000-OrvBench%04X}", 0x10000000 + i, i & 0xFFFF);
    else
      swprintf(name, 96, L"OrvBench Program %05d", i);
    std::wstring path = std::wstring(kUninstall) + L"\\" + name;
    HKEY key = nullptr;
    if (RegCreateKeyExW(root.hive, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | root.view, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
      continue;
    std::wstring number = std::to_wstring(i);
    SetString(key, L"DisplayName", L"ベンチマーク用アプリケーション " + number + L" Professional Edition");
    SetString(key, L"DisplayVersion", L"1." + std::to_wstring(i % 40) + L"." + std::to_wstring(i % 977));
    SetString(key, L"Publisher", L"株式会社サンプル開発 " + std::to_wstring(i % 150));
    SetString(key, L"InstallDate", L"2025" + std::to_wstring(10 + i % 3) + L"1" + std::to_wstring(i % 10));
    SetString(key, L"InstallLocation", L"C:\\Program Files\\Bench Vendor\\Product " + number + L"\\");
    SetString(key, L"URLInfoAbout", L"https://vendor.example/products/" + number);
    SetString(key, L"HelpLink", L"https://support.vendor.example/" + number);
    SetDword(key, L"EstimatedSize", static_cast<DWORD>(1000 + i * 37 % 900000));
    SetDword(key, L"NoRepair", i % 3 == 0);
    if (msi) {
      SetString(key, L"UninstallString", std::wstring(L"MsiExec.exe /X") + name);
      SetString(key, L"ModifyPath", std::wstring(L"MsiExec.exe /I") + name);
      SetDword(key, L"WindowsInstaller", 1);
      SetString(key, L"InstallSource", L"C:\\ProgramData\\Package Cache\\" + number + L"\\");
      SetDword(key, L"Language", 1041);
    } else {
      SetString(key, L"UninstallString", L"\"C:\\Program Files\\Bench Vendor\\Product " + number + L"\\unins000.exe\"");
      SetString(key, L"QuietUninstallString", L"\"C:\\Program Files\\Bench Vendor\\Product " + number + L"\\unins000.exe\" /SILENT");
      SetString(key, L"DisplayIcon", L"C:\\Program Files\\Bench Vendor\\Product " + number + L"\\app.exe,0");
    }
    RegCloseKey(key);
    if (i % 2 == 1) {
      std::wstring cachePath = std::wstring(kArpCache) + L"\\" + name;
      if (RegCreateKeyExW(root.hive, cachePath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | root.view,
                          nullptr, &key, nullptr) == ERROR_SUCCESS) {
        BYTE record[552] = {};
        DWORD size = 552, hasName = 1, used = static_cast<DWORD>(i % 50);
        LONGLONG bytes = 1048576LL * (i % 300);
        ULONGLONG lastUsed = 133500000000000000ull + 864000000000ull * (i % 400);
        std::memcpy(record, &size, 4);
        std::memcpy(record + 4, &hasName, 4);
        std::memcpy(record + 8, &bytes, 8);
        std::memcpy(record + 16, &lastUsed, 8);
        std::memcpy(record + 24, &used, 4);
        std::wstring exe = L"C:\\Program Files\\Bench Vendor\\Product " + number + L"\\app.exe";
        std::memcpy(record + 28, exe.c_str(), (exe.size() + 1) * 2);
        RegSetValueExW(key, L"SlowInfoCache", 0, REG_BINARY, record, 552);
        RegCloseKey(key);
      }
    }
  }
}

// --- where the scan's time goes: every registry call timed by kind ----------------------------

struct CallStats {
  const char* name;
  long calls = 0;
  double ms = 0;
};

class TimedKey : public orv::RegistryKey {
 public:
  TimedKey(std::unique_ptr<orv::RegistryKey> inner, std::vector<CallStats>& stats)
      : inner_(std::move(inner)), stats_(stats) {}
  ~TimedKey() override {
    double start = NowMs();
    inner_.reset();
    Add(5, start);
  }
  std::unique_ptr<orv::RegistryKey> OpenSubKey(std::string_view name,
                                               orv::KeyAccess access) override {
    double start = NowMs();
    auto key = inner_->OpenSubKey(name, access);
    Add(key ? 0 : 4, start);
    return key ? std::make_unique<TimedKey>(std::move(key), stats_) : nullptr;
  }
  std::vector<std::string> SubKeyNames() override {
    double start = NowMs();
    auto names = inner_->SubKeyNames();
    Add(1, start);
    return names;
  }
  std::vector<orv::SubKeyEntry> SubKeys() override {
    double start = NowMs();
    auto keys = inner_->SubKeys();
    Add(1, start);
    return keys;
  }
  std::optional<std::uint32_t> SubKeyCount() override { return inner_->SubKeyCount(); }
  bool ValueExists(std::string_view name) override { return inner_->ValueExists(name); }
  bool QueryValue(std::string_view name, orv::RegistryValue& out) override {
    double start = NowMs();
    bool found = inner_->QueryValue(name, out);
    Add(2, start);
    return found;
  }
  bool ReadAllValues(std::vector<std::pair<std::string, orv::RegistryValue>>& out,
                     std::size_t maxValues, std::size_t maxBytes) override {
    double start = NowMs();
    bool ok = inner_->ReadAllValues(out, maxValues, maxBytes);
    Add(3, start);
    return ok;
  }
  bool WriteString(std::string_view, std::string_view) override { return false; }
  bool DeleteValue(std::string_view) override { return false; }
  orv::RegistryStatus DeleteSubKeyTree(std::string_view) override {
    return {orv::kRegErrorAccessDenied};
  }

 private:
  void Add(std::size_t kind, double start) {
    stats_[kind].calls++;
    stats_[kind].ms += NowMs() - start;
  }
  std::unique_ptr<orv::RegistryKey> inner_;
  std::vector<CallStats>& stats_;
};

class TimedRegistry : public orv::Registry {
 public:
  std::unique_ptr<orv::RegistryKey> OpenKey(orv::RegistryRoot root, std::string_view path,
                                            orv::KeyAccess access) override {
    double start = NowMs();
    auto key = inner_.OpenKey(root, path, access);
    stats[key ? 0 : 4].calls++;
    stats[key ? 0 : 4].ms += NowMs() - start;
    return key ? std::make_unique<TimedKey>(std::move(key), stats) : nullptr;
  }
  std::uint64_t Now() override { return inner_.Now(); }
  std::vector<CallStats> stats{{"open"}, {"enumerate subkeys"}, {"query one value"},
                               {"read all values"}, {"open, missing key"}, {"close"}};

 private:
  orv::Win32Registry inner_;
};

// --- the floor: the same reads, bare ---------------------------------------------------------

const wchar_t* kValueNames[] = {
    L"DisplayName", L"UninstallString", L"QuietUninstallString", L"Publisher", L"DisplayVersion",
    L"EstimatedSize", L"HelpLink", L"URLInfoAbout", L"URLUpdateInfo", L"HelpTelephone",
    L"Contact", L"Readme", L"Comments", L"DisplayIcon", L"WindowsInstaller", L"SystemComponent",
    L"InstallDate", L"ParentKeyName", L"ReleaseType", L"ParentDisplayName", L"RegistryLocation",
    L"InstallLocation", L"InstallDir", L"Inno Setup: App Path", L"InstallSource", L"ModifyPath",
    L"NoModify", L"NoRepair", L"NoRemove"};

long Floor() {
  long entries = 0;
  BYTE buffer[4096];
  for (const Root& root : kRoots) {
    HKEY uninstall = nullptr;
    if (RegOpenKeyExW(root.hive, kUninstall, 0, KEY_READ | root.view, &uninstall) != ERROR_SUCCESS)
      continue;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = 256;
      if (RegEnumKeyExW(uninstall, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        break;
      std::wstring path = std::wstring(kUninstall) + L"\\" + name;
      HKEY entry = nullptr;
      if (RegOpenKeyExW(root.hive, path.c_str(), 0, KEY_READ | root.view, &entry) != ERROR_SUCCESS)
        continue;
      for (const wchar_t* value : kValueNames) {
        DWORD type = 0, size = sizeof buffer;
        RegQueryValueExW(entry, value, nullptr, &type, buffer, &size);
      }
      RegCloseKey(entry);
      std::wstring cachePath = std::wstring(kArpCache) + L"\\" + name;
      HKEY cache = nullptr;
      if (RegOpenKeyExW(root.hive, cachePath.c_str(), 0, KEY_READ | root.view, &cache) == ERROR_SUCCESS) {
        DWORD type = 0, size = 552;
        RegQueryValueExW(cache, L"SlowInfoCache", nullptr, &type, buffer, &size);
        RegCloseKey(cache);
      }
      ++entries;
    }
    RegCloseKey(uninstall);
  }
  return entries;
}

// --- the window -------------------------------------------------------------------------------

HWND FindMain(DWORD pid) {
  HWND found = nullptr;
  while ((found = FindWindowExW(nullptr, found, L"TForm1", L"Orvalinde")) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(found, &owner);
    if (owner == pid) return found;
  }
  return nullptr;
}

int RowCount(HWND window) {
  return static_cast<int>(SendMessageW(GetDlgItem(window, orv::kIdProgramList), LVM_GETITEMCOUNT, 0, 0));
}

// Sends a command and waits until the list has painted what it now holds.
void CommandAndPaint(HWND window, int command) {
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
  UpdateWindow(GetDlgItem(window, orv::kIdProgramList));
}

void ClickHeader(HWND window, int position) {
  // A real click on the header, at the middle of the column.
  HWND list = GetDlgItem(window, orv::kIdProgramList);
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  RECT rect{};
  int x = 0;
  for (int i = 0; i < position; ++i) x += static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
  x += static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, position, 0)) / 2;
  GetClientRect(header, &rect);
  LPARAM at = MAKELPARAM(x, rect.bottom / 2);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(header, WM_LBUTTONUP, 0, at);
  UpdateWindow(list);
}

HWND FindSaveDialog(DWORD pid) {
  HWND found = nullptr;
  while ((found = FindWindowExW(nullptr, found, L"#32770", nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(found, &owner);
    if (owner == pid && GetDlgItem(found, 0x47C)) return found;  // the file name box (cmb13)
  }
  return nullptr;
}

// The export from the save dialog's close to the written file; -1 when it failed.
double TimeExport(HWND window, DWORD pid, const std::wstring& target) {
  DeleteFileW(target.c_str());
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(orv::kCmdSaveProgList, 0), 0);
  HWND save = nullptr;
  for (double waited = NowMs(); !(save = FindSaveDialog(pid)) && NowMs() - waited < 30000;)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  if (!save) return -1;
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let it settle as a user would
  HWND nameBox = GetDlgItem(save, 0x47C);
  HWND combo = FindWindowExW(nameBox, nullptr, L"ComboBox", nullptr);
  HWND edit = FindWindowExW(combo ? combo : nameBox, nullptr, L"Edit", nullptr);
  if (!edit) return -1;
  SetWindowTextW(edit, target.c_str());
  PostMessageW(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  // From the dialog's end, when the program starts on the rows, to the written file.
  for (double waited = NowMs(); IsWindow(save) && NowMs() - waited < 30000;)
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  const double start = NowMs();
  while (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (NowMs() - start > 60000) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  SendMessageW(window, WM_NULL, 0, 0);  // returns once the handler has finished
  return NowMs() - start;
}

// Removes one bench entry of the 64-bit machine view; false when there is none left to remove.
bool RemoveOneEntry(int run) {
  wchar_t name[96];
  swprintf(name, 96, L"OrvBench Program %05d", 3 + 20 * run);  // i % 20 == 3: machine, 64-bit
  std::wstring path = std::wstring(kUninstall) + L"\\" + name;
  return RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), KEY_WOW64_64KEY, 0) == ERROR_SUCCESS;
}

int Window(const std::wstring& exe, int runs) {
  // The window reports its own start-up steps into this file.
  wchar_t folder[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, folder, MAX_PATH);
  if (wchar_t* slash = wcsrchr(folder, L'\\')) slash[1] = 0;
  const std::wstring profilePath = std::wstring(folder) + L"startup-profile.txt";
  DeleteFileW(profilePath.c_str());
  SetEnvironmentVariableW(L"ORV_STARTUP_PROFILE", profilePath.c_str());
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring commandLine = L"\"" + exe + L"\"";
  double start = NowMs();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &si, &pi)) {
    std::fprintf(stderr, "cannot start the exe\n");
    return 1;
  }
  HWND window = nullptr;
  while (!(window = FindMain(pi.dwProcessId)) || RowCount(window) == 0) {
    if (NowMs() - start > 600000) return 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  UpdateWindow(GetDlgItem(window, orv::kIdProgramList));
  Print("startup_ms", NowMs() - start);
  Print("rows", RowCount(window));
  for (double waited = NowMs(); GetFileAttributesW(profilePath.c_str()) == INVALID_FILE_ATTRIBUTES &&
                                NowMs() - waited < 10000;)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  if (FILE* file = _wfopen(profilePath.c_str(), L"r")) {
    char line[256];
    while (std::fgets(line, sizeof line, file)) std::printf("startup_step %s", line);
    std::fclose(file);
  }
  Print("refresh_ms", TimeMedian(runs, [&] { CommandAndPaint(window, orv::kCmdRefresh); }));
  // The watch's refresh after an uninstall: one entry removed, then the watch's timer message
  // (the one the window gets each second), timed until the list has painted one row fewer.
  {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
      const int before = RowCount(window);
      if (!RemoveOneEntry(run)) break;
      const double started = NowMs();
      SendMessageW(window, WM_TIMER, 1, 0);  // the window's watch timer
      UpdateWindow(GetDlgItem(window, orv::kIdProgramList));
      const double took = NowMs() - started;
      if (RowCount(window) == before - 1) times.push_back(took);
    }
    if (!times.empty()) Print("watch_refresh_ms", Median(times));
  }
  Print("tab_ms", TimeMedian(runs, [&] { CommandAndPaint(window, orv::kCmdGoNextTab); }) );
  CommandAndPaint(window, orv::kCmdGoPrevTab);
  // Each position clicked twice per run, so every run sorts (ascending, then descending).
  Print("sort_text_ms", TimeMedian(runs, [&] { ClickHeader(window, 2); }));   // 発行元
  Print("sort_size_ms", TimeMedian(runs, [&] { ClickHeader(window, 4); }));   // サイズ
  Print("sort_lastuse_ms", TimeMedian(runs, [&] { ClickHeader(window, 5); })); // 最終使用
  // A find that matches nothing walks every row: give the dialog a text once, then time F3.
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(orv::kCmdFind, 0), 0);
  HWND find = nullptr;
  for (double waited = NowMs(); !(find = FindWindowW(L"#32770", L"検索")) && NowMs() - waited < 10000;)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  if (find) {
    SetDlgItemTextW(find, IDC_FIND_TEXT, L"no row holds this text");
    PostMessageW(find, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    while (IsWindow(find)) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    // From the first row, so each run tests every row after it.
    PostMessageW(GetDlgItem(window, orv::kIdProgramList), WM_KEYDOWN, VK_HOME, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Print("find_ms", TimeMedian(runs, [&] { CommandAndPaint(window, orv::kCmdFindNext); }));
  }
  {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
      const double took = TimeExport(window, pi.dwProcessId,
                                     std::wstring(folder) + L"export-" + std::to_wstring(run) + L".csv");
      if (took >= 0) times.push_back(took);
    }
    if (!times.empty()) Print("export_ms", Median(times));
  }
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters);
  Print("peak_working_set_bytes", static_cast<double>(counters.PeakWorkingSetSize));
  Print("working_set_bytes", static_cast<double>(counters.WorkingSetSize));
  PostMessageW(window, WM_CLOSE, 0, 0);
  WaitForSingleObject(pi.hProcess, 60000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: orv_bench populate N | scan R | floor R | tick R | window EXE R\n");
    return 2;
  }
  std::wstring verb = argv[1];
  if (verb == L"populate") {
    double start = NowMs();
    Populate(_wtoi(argv[2]));
    Print("populate_ms", NowMs() - start);
    return 0;
  }
  if (verb == L"window") return argc > 3 ? Window(argv[2], _wtoi(argv[3])) : 2;
  const int runs = std::max(1, _wtoi(argv[2]));
  orv::Win32Registry registry;
  orv::Win32System system;
  if (verb == L"scan") {
    orv::ProgramList programs;
    orv::ScanContext context{registry, system, {}, {}};
    for (unsigned threads : {1u, 2u, 4u}) {
      context.threads = threads;
      const std::string name = "scan_" + std::to_string(threads) + "_ms";
      Print(name.c_str(), TimeMedian(runs, [&] { orv::ScanAllUninstallKeys(context, programs); }));
    }
    context.threads = 0;
    Print("scan_ms", TimeMedian(runs, [&] { orv::ScanAllUninstallKeys(context, programs); }));
    Print("scan_threads", orv::DefaultScanThreads());
    Print("records", static_cast<double>(programs.size()));
    std::size_t strings = 0;
    for (const auto& p : programs)
      for (const std::string* s : {&p.KeyName, &p.DisplayName, &p.UninstallString,
                                   &p.QuietUninstallString, &p.DisplayVersion, &p.Publisher,
                                   &p.URLInfoAbout, &p.HelpLink, &p.DisplayIcon, &p.InstallDate,
                                   &p.InstallLocation, &p.InstallSource, &p.ModifyPath,
                                   &p.SlowInfoFileName})
        strings += s->capacity() > 15 ? s->capacity() + 1 : 0;  // heap beyond the small buffer
    Print("record_bytes", static_cast<double>(sizeof(orv::TProgram)));
    Print("string_heap_bytes_per_record", programs.empty() ? 0.0 : double(strings) / double(programs.size()));
    return 0;
  }
  if (verb == L"profile") {
    TimedRegistry timed;
    orv::ProgramList programs;
    orv::ScanContext context{timed, system, {}, {}};
    context.threads = 1;  // the calls timed one after another
    double start = NowMs();
    orv::ScanAllUninstallKeys(context, programs);
    double total = NowMs() - start, inRegistry = 0;
    for (const CallStats& s : timed.stats) {
      std::printf("profile %s | %ld | %.1f\n", s.name, s.calls, s.ms);
      inRegistry += s.ms;
    }
    std::printf("profile everything else (filling records, conversions) | - | %.1f\n",
                total - inRegistry);
    Print("profile_total_ms", total);
    return 0;
  }
  if (verb == L"floor") {
    long entries = 0;
    Print("floor_ms", TimeMedian(runs, [&] { entries = Floor(); }));
    Print("floor_entries", entries);
    return 0;
  }
  if (verb == L"tick") {
    orv::UninstallKeyCounts counts = orv::CountAllUninstallKeys(registry);
    orv::RegistryWatch watch(registry);
    constexpr int kTicks = 200;
    Print("tick_ms", TimeMedian(runs, [&] {
            for (int i = 0; i < kTicks; ++i) watch.Tick(counts);
          }) / kTicks);
    return 0;
  }
  return 2;
}
