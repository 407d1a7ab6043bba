#include "app/view_settings.h"

#include <algorithm>

#include "platform/ini_codec.h"

namespace orv {
namespace {
constexpr const char* kOption = "Option";
constexpr const char* kFormPos = "FormPos";
}  // namespace

ViewSettings LoadViewSettings(IniProfile& ini, int screenWidth, int screenHeight) {
  IniCodec codec(ini);
  ViewSettings s;
  s.loadIcon = codec.ReadBool(kOption, "LoadIcon", false);
  s.stripe = codec.ReadBool(kOption, "Stripe", false);
  s.gridLine = codec.ReadBool(kOption, "GridLine", true);
  s.showSysComp = codec.ReadBool(kOption, "ShowSysComp", false);
  s.stripeColor = static_cast<TColor>(codec.ReadInteger(kOption, "StripeColor", 15790320));
  s.maximized = codec.ReadBool(kFormPos, "Maximized", false);
  s.height = std::min(screenHeight, std::max(100, codec.ReadInteger(kFormPos, "Height", 500)));
  s.width = std::min(screenWidth, std::max(100, codec.ReadInteger(kFormPos, "Width", 720)));
  return s;
}

void SaveViewSettings(IniProfile& ini, const ViewSettings& s) {
  IniCodec codec(ini);
  codec.WriteBool(kOption, "LoadIcon", s.loadIcon);
  codec.WriteBool(kOption, "Stripe", s.stripe);
  codec.WriteBool(kOption, "GridLine", s.gridLine);
  codec.WriteBool(kOption, "ShowSysComp", s.showSysComp);
  codec.WriteBool(kFormPos, "Maximized", s.maximized);
  if (!s.maximized) {
    codec.WriteInteger(kFormPos, "Height", s.height);
    codec.WriteInteger(kFormPos, "Width", s.width);
  }
}

}  // namespace orv
