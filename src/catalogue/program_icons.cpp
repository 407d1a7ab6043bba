#include "catalogue/program_icons.h"

#include <shellapi.h>

#include <cstdlib>

#include "platform/win32/wide.h"
#include "text/utf.h"

namespace orv {
namespace {

// The large icon, then the small one, then the shell's small icon for the file's type.
HICON IconFromFile(const std::string& file, int index) {
  std::wstring path = Widen(file);
  HICON icon = ExtractIconW(GetModuleHandleW(nullptr), path.c_str(), static_cast<UINT>(index));
  if (icon) return icon;
  HICON small = nullptr;
  if (ExtractIconExW(path.c_str(), index, nullptr, &small, 1) > 0 && small) return small;
  SHFILEINFOW info{};
  if (SHGetFileInfoW(path.c_str(), FILE_ATTRIBUTE_ARCHIVE, &info, sizeof info,
                     SHGFI_ICON | SHGFI_SMALLICON))
    return info.hIcon;
  return nullptr;
}

// A decimal icon number, or -1 when the text is not one.
int ParseIconIndex(const std::string& text) {
  if (text.empty()) return -1;
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || value < INT32_MIN || value > INT32_MAX) return -1;
  return static_cast<int>(value);
}

}  // namespace

HICON LoadProgramIcon(const TProgram* program, SystemServices& system) {
  if (!program) return nullptr;
  HICON icon = nullptr;
  if (!program->DisplayIcon.empty()) {
    std::string file = program->DisplayIcon;
    int index = 0;
    std::size_t comma = file.find(',');
    if (comma != std::string::npos) {
      index = ParseIconIndex(TrimControls(file.substr(comma + 1)));
      file = TrimControls(file.substr(0, comma));
      if (index < 0) {  // a resource number or no number: the whole value names the file
        file = program->DisplayIcon;
        index = 0;
      }
    }
    if (system.FileExists(file)) icon = IconFromFile(file, index);
  }
  if (!icon && program->HasSlowInfoCache && !program->SlowInfoFileName.empty() &&
      system.FileExists(program->SlowInfoFileName))
    icon = IconFromFile(program->SlowInfoFileName, 0);
  return icon;
}

}  // namespace orv
