#include "app/view_settings.h"

#include <algorithm>

#include "platform/ini_codec.h"

namespace orv {
namespace {

constexpr const char* kOption = "Option";
constexpr const char* kFormPos = "FormPos";
IniSave Never(const ViewSettings&) { return IniSave::Keep; }  // changed by editing the file only
// A maximised window keeps the normal size it had.
IniSave UnlessMaximized(const ViewSettings& s) { return s.maximized ? IniSave::Keep : IniSave::Write; }

constexpr IniField<ViewSettings> kOptionKeys[] = {
    {"LoadIcon", &ViewSettings::loadIcon},
    {"Stripe", &ViewSettings::stripe},
    {"GridLine", &ViewSettings::gridLine},
    {"ShowSysComp", &ViewSettings::showSysComp},
    {"StripeColor", &ViewSettings::stripeColor, Never},
};
constexpr IniField<ViewSettings> kFormPosKeys[] = {
    {"Maximized", &ViewSettings::maximized},
    {"Height", &ViewSettings::height, UnlessMaximized},
    {"Width", &ViewSettings::width, UnlessMaximized},
};

}  // namespace

ViewSettings LoadViewSettings(IniProfile& ini, int screenWidth, int screenHeight) {
  IniCodec codec(ini);
  const ViewSettings defaults;
  ViewSettings s;
  ReadFields<ViewSettings>(codec, kOption, kOptionKeys, s, defaults);
  ReadFields<ViewSettings>(codec, kFormPos, kFormPosKeys, s, defaults);
  s.height = std::min(screenHeight, std::max(100, s.height));
  s.width = std::min(screenWidth, std::max(100, s.width));
  return s;
}

void SaveViewSettings(IniProfile& ini, const ViewSettings& s) {
  IniCodec codec(ini);
  WriteFields<ViewSettings>(codec, kOption, kOptionKeys, s);
  WriteFields<ViewSettings>(codec, kFormPos, kFormPosKeys, s);
}

}  // namespace orv
