// Sections "Option" and "FormPos" of the settings file.
#pragma once
#include "annotations/tag_list.h"
#include "platform/ini_profile.h"

namespace orv {

// The defaults here are the settings file's: a key that is absent reads as them.
struct ViewSettings {
  bool loadIcon = false;
  bool stripe = false;
  bool gridLine = true;
  bool showSysComp = false;
  TColor stripeColor = 15790320;  // F0F0F0, read only: changed by editing the file
  bool maximized = false;
  int width = 720;   // outer size in pixels
  int height = 500;
};

// Sizes are kept between 100 pixels and the screen's size.
ViewSettings LoadViewSettings(IniProfile& ini, int screenWidth, int screenHeight);
// The size is written only when the window is not maximised; StripeColor never.
void SaveViewSettings(IniProfile& ini, const ViewSettings& settings);

}  // namespace orv
