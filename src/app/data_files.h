// Where the settings file and the annotation store live: beside the exe, as a portable tool
// keeps them, unless that folder cannot be written (Program Files, a read-only medium).
#pragma once
#include <string>

#include "platform/system_services.h"

namespace orv {

struct DataFiles {
  std::string iniPath;      // the exe's name with ".ini"
  std::string appDataPath;  // "appdata"
  bool perUser = false;     // in the per-user folder instead of the exe's
};

// `perUserFolder` is %APPDATA%\Orvalinde. When the exe's folder cannot be written, both files
// move there; a file found only beside the exe is copied over first, so nothing is lost. Once
// there, later starts read the per-user copies first, whether or not the exe's folder can be
// written then.
DataFiles ChooseDataFiles(SystemServices& system, const std::string& exePath,
                          const std::string& perUserFolder);

}  // namespace orv
