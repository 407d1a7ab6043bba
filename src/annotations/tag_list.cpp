#include "annotations/tag_list.h"

#include "platform/ini_codec.h"

namespace orv {
namespace {

constexpr const char* kSection = "Tags";
constexpr TColor kDefaultColors[kTagCount] = {255, 65280, 65535, 16711680, 16711935};
// Each slot's keys carry its number from 0: "CaptionString0", "Color0".
constexpr IniField<TAppTag> kTagKeys[] = {
    {"CaptionString", &TAppTag::Caption},
    {"Color", &TAppTag::Color},
};

TAppTag DefaultTag(int slot) {
  TAppTag tag;
  tag.Caption = "Tag" + std::to_string(slot + 1);
  tag.Color = kDefaultColors[slot];
  return tag;
}

}  // namespace

bool IsDarkColor(TColor color, const ColorResolver& resolve) {
  std::uint32_t rgb = resolve ? resolve(color) : color;
  // Each weighted channel is kept in single precision, as the dark test was calibrated so.
  float r = static_cast<float>((rgb & 0xFF) * 0.29);
  float g = static_cast<float>(((rgb >> 8) & 0xFF) * 0.59);
  float b = static_cast<float>(((rgb >> 16) & 0xFF) * 0.11);
  long double sum = static_cast<long double>(r) + g + b;
  return sum < 120.0L;
}

void TAppTag::SetColor(TColor color, const ColorResolver& resolve) {
  Color = color;
  WhiteText = IsDarkColor(color, resolve);
}

TTagList::TTagList(ColorResolver resolve) : resolve_(std::move(resolve)) {
  for (auto& tag : tags_) tag.SetColor(kBtnFaceColor, resolve_);
}

TAppTag* TTagList::Items(int slot) {
  return slot >= 0 && slot < kTagCount ? &tags_[static_cast<std::size_t>(slot)] : nullptr;
}

const TAppTag* TTagList::Items(int slot) const {
  return slot >= 0 && slot < kTagCount ? &tags_[static_cast<std::size_t>(slot)] : nullptr;
}

void TTagList::Assign(const TTagList& source) {
  for (std::size_t i = 0; i < tags_.size(); ++i) tags_[i].Assign(source.tags_[i], resolve_);
}

void TTagList::LoadFromFile(IniProfile& ini) {
  IniCodec codec(ini);
  for (int i = 0; i < kTagCount; ++i) {
    TAppTag& tag = tags_[static_cast<std::size_t>(i)];
    ReadFields<TAppTag>(codec, kSection, kTagKeys, tag, DefaultTag(i), std::to_string(i));
    tag.SetColor(tag.Color, resolve_);  // the text colour follows
  }
}

void TTagList::SaveToFile(IniProfile& ini) const {
  IniCodec codec(ini);
  for (int i = 0; i < kTagCount; ++i)
    WriteFields<TAppTag>(codec, kSection, kTagKeys, tags_[static_cast<std::size_t>(i)], std::to_string(i));
}

}  // namespace orv
