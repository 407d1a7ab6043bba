// Saves the settings and "appdata" over and over, as the program does, until it is killed;
// killed_save_test.cpp kills it at random points. The generation alternates from the one the
// caller names, so every whole file holds one: all keys "A..." or all "B...", all tags 1 or 2.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "annotations/annotation_store.h"
#include "platform/ini_codec.h"
#include "platform/win32/staged_ini.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_system.h"

// A window program, not a console one: a console child gets a console host of its own, which
// outlives the killed child and holds the test's output open.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 4) return 2;
  const std::string folder = orv::Narrow(argv[1]);
  orv::Win32System system;
  // The caller's clock for the kill starts here, not while the process is being made.
  HANDLE saving = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
  if (!saving || !SetEvent(saving)) return 4;
  for (int generation = _wtoi(argv[2]);; ++generation) {
    const bool b = generation % 2 != 0;
    orv::TProgramExtInfoList store;
    for (int i = 0; i < 50; ++i) store.AddInfo({"HKLM\\Entry" + std::to_string(i), b ? 2 : 1, b, false});
    if (!store.SaveToFile(folder + "\\appdata", system).empty()) return 3;
    orv::StagedIni ini(folder + "\\Orvalinde.ini");
    orv::IniCodec codec(ini);
    for (int i = 0; i < 30; ++i)
      codec.WriteString("Option", "Key" + std::to_string(i), std::string(40, b ? 'B' : 'A'));
    ini.Commit();
  }
}
