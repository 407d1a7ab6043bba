// The five user tags: caption and colour per slot, kept in the settings file.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/ini_profile.h"

namespace orv {

using TColor = std::uint32_t;
inline constexpr TColor kNoColor = 0x1FFFFFFF;
inline constexpr TColor kBtnFaceColor = 0xFF00000F;  // reference to the system's button face
inline constexpr int kTagCount = 5;

// Turns a colour value into plain 0x00BBGGRR; system colour references need the platform.
using ColorResolver = std::function<std::uint32_t(TColor)>;

bool IsDarkColor(TColor color, const ColorResolver& resolve);

struct TAppTag {
  std::string Caption;
  TColor Color = kBtnFaceColor;
  bool WhiteText = false;
  void SetColor(TColor color, const ColorResolver& resolve);
  void Assign(const TAppTag& source, const ColorResolver& resolve) {
    Caption = source.Caption;
    SetColor(source.Color, resolve);
  }
};

class TTagList {
 public:
  explicit TTagList(ColorResolver resolve);
  // None for a slot outside 0 to 4, so a damaged index never reaches a tag.
  TAppTag* Items(int slot);
  const TAppTag* Items(int slot) const;
  void Assign(const TTagList& source);
  const ColorResolver& Resolver() const { return resolve_; }
  void LoadFromFile(IniProfile& ini);
  void SaveToFile(IniProfile& ini) const;

 private:
  ColorResolver resolve_;
  std::array<TAppTag, kTagCount> tags_;
};

}  // namespace orv
