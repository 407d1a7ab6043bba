#include "app/data_files.h"

namespace orv {

DataFiles ChooseDataFiles(SystemServices& system, const std::string& exePath,
                          const std::string& perUserFolder) {
  const std::size_t slash = exePath.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? std::string() : exePath.substr(0, slash);
  const std::string file = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
  const std::size_t dot = file.find_last_of('.');
  const std::string iniName = (dot == std::string::npos ? file : file.substr(0, dot)) + ".ini";

  DataFiles beside{folder + "\\" + iniName, folder + "\\appdata", false};
  DataFiles perUser{perUserFolder + "\\" + iniName, perUserFolder + "\\appdata", true};
  // Once the files have moved, they are read from there first, even on a start that could
  // write beside the exe (run once as administrator, say): the marks stay where they went.
  if (!perUserFolder.empty() &&
      (system.FileExists(perUser.iniPath) || system.FileExists(perUser.appDataPath)))
    return perUser;
  if (folder.empty() || system.CanCreateFilesIn(folder)) return beside;
  // Nowhere better to go: the writes fail and say so.
  if (perUserFolder.empty() || !system.CreateFolder(perUserFolder)) return beside;

  for (auto [from, to] : {std::pair{&beside.iniPath, &perUser.iniPath},
                          std::pair{&beside.appDataPath, &perUser.appDataPath}}) {
    if (system.FileExists(*to) || !system.FileExists(*from)) continue;
    if (std::optional<std::string> bytes = system.ReadWholeFile(*from))
      system.ReplaceWholeFile(*to, *bytes);
  }
  return perUser;
}

}  // namespace orv
