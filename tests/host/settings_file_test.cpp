#include <gtest/gtest.h>

#include "annotations/tag_list.h"
#include "columns/column_model.h"
#include "platform/ini_codec.h"
#include "platform/memory/memory_ini.h"

namespace orv::test {
namespace {

TEST(IniInteger, AcceptsDecimalAndBothHexForms) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
      {"0", 0},
      {"-17", -17},
      {"+5", 5},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"0xF0F0F0", 0xF0F0F0},
      {"0XfF", 255},
      {"$10", 16},
      {"$FFFFFFFF", -1},
      {"0x", std::nullopt},  // too short to be hexadecimal, and no decimal either
      {"0x123456789", std::nullopt},
      {"$", std::nullopt},
      {"", std::nullopt},
      {"12abc", std::nullopt},
      {" 12", std::nullopt},
      {"1.5", std::nullopt},
  };
  for (auto [text, value] : cases) EXPECT_EQ(ParseIniInteger(text), value) << text;
}

TEST(IniCodec, ReadsDefaultsAndWritesTheUsualForms) {
  MemoryIni ini;
  IniCodec codec(ini);
  EXPECT_EQ(codec.ReadInteger("S", "Missing", 42), 42);
  EXPECT_TRUE(codec.ReadBool("S", "Missing", true));
  codec.WriteInteger("S", "N", -3);
  codec.WriteBool("S", "B", true);
  EXPECT_EQ(ini.ReadString("S", "N", ""), "-3");
  EXPECT_EQ(ini.ReadString("S", "B", ""), "1");
  ini.WriteString("S", "Two", "2");
  ini.WriteString("S", "Junk", "yes");
  EXPECT_TRUE(codec.ReadBool("S", "Two", false));  // any non-zero integer is true
  EXPECT_FALSE(codec.ReadBool("S", "Junk", false));
  ini.WriteString("S", "Long", std::string(3000, 'a'));
  EXPECT_EQ(codec.ReadString("S", "Long", "").size(), 2047u);
}

TEST(IniCodec, RefusedWriteNamesTheFile) {
  MemoryIni ini("C:\\ツール\\Orvalinde.ini");
  ini.refuseWrites = true;
  IniCodec codec(ini);
  try {
    codec.WriteInteger("Column", "Width0", 1);
    FAIL() << "a refused write must raise";
  } catch (const EIniWriteError& e) {
    EXPECT_STREQ(e.what(), "C:\\ツール\\Orvalinde.ini に書き込めません");
  }
  EXPECT_NO_THROW(codec.DeleteKey("Column", "Width1"));
}

TEST(ColumnModel, DefaultsWithoutASettingsFile) {
  MemoryIni ini;
  TLvColumnSetting model;
  model.LoadFromFile(ini);
  std::vector<std::pair<std::string, int>> shown;
  for (int id : model.ShownColumnIds()) shown.emplace_back(model.Items(id).Caption, model.Items(id).Width);
  const std::vector<std::pair<std::string, int>> expected = {
      {"プログラム", 300}, {"ステータス", 16}, {"発行元", 130}, {"インストール日", 80},
      {"サイズ", 80},     {"最終使用", 120}, {"ファイル名", 150}, {"タグ", 80}};
  EXPECT_EQ(shown, expected);
}

TEST(ColumnModel, NameAndStatusStayFirstWhateverTheFileSays) {
  MemoryIni ini;
  ini.WriteString("Column", "Checked0", "0");
  ini.WriteString("Column", "Order0", "50");
  ini.WriteString("Column", "Checked1", "0");
  ini.WriteString("Column", "Width1", "200");
  ini.WriteString("Column", "Order2", "0x1");
  ini.WriteString("Column", "Order21", "0");
  ini.WriteString("Column", "Checked21", "1");
  ini.WriteString("Column", "Checked3", "$1");
  TLvColumnSetting model;
  model.LoadFromFile(ini);
  auto ids = model.ShownColumnIds();
  ASSERT_GE(ids.size(), 4u);
  EXPECT_EQ(ids[0], kColProgram);
  EXPECT_EQ(ids[1], kColStatus);
  EXPECT_EQ(ids[2], kColRegistry);  // order 0
  EXPECT_EQ(ids[3], kColPublisher);  // order 1
  EXPECT_EQ(ids[4], kColVersion);  // unsaved orders follow in identifier order

  model.SaveToFile(ini);
  for (const char* key : {"Checked0", "Order0", "Checked1", "Order1", "Width1"})
    EXPECT_FALSE(ini.Has("Column", key)) << key;
  EXPECT_EQ(ini.ReadString("Column", "Width0", ""), "300");
  EXPECT_EQ(ini.ReadString("Column", "Order2", ""), "1");
  EXPECT_EQ(ini.ReadString("Column", "Checked3", ""), "1");
  EXPECT_EQ(ini.ReadString("Column", "Order4", ""), "26");
}

TEST(ColumnModel, SaveKeepsOtherKeysAndRoundTrips) {
  MemoryIni ini;
  ini.WriteString("Column", "Unknown", "keep");
  ini.WriteString("Option", "StripeColor", "0xF0F0F0");
  TLvColumnSetting model;
  model.LoadFromFile(ini);
  model.Items(kColVersion).Checked = true;
  model.Items(kColVersion).Order = 0;
  model.Items(kColPublisher).Width = 222;
  model.SortByOrder();
  model.SaveToFile(ini);
  TLvColumnSetting reloaded;
  reloaded.LoadFromFile(ini);
  EXPECT_EQ(reloaded.ShownColumnIds(), model.ShownColumnIds());
  EXPECT_EQ(reloaded.Items(kColPublisher).Width, 222);
  EXPECT_EQ(ini.ReadString("Column", "Unknown", ""), "keep");
  EXPECT_EQ(ini.ReadString("Option", "StripeColor", ""), "0xF0F0F0");
}

TEST(TagList, DefaultsAndStoredValues) {
  MemoryIni ini;
  TTagList tags(nullptr);
  tags.LoadFromFile(ini);
  const char* captions[] = {"Tag1", "Tag2", "Tag3", "Tag4", "Tag5"};
  const TColor colors[] = {0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF};
  const bool white[] = {true, false, false, true, true};
  for (int i = 0; i < kTagCount; ++i) {
    EXPECT_EQ(tags.Items(i)->Caption, captions[i]);
    EXPECT_EQ(tags.Items(i)->Color, colors[i]);
    EXPECT_EQ(tags.Items(i)->WhiteText, white[i]);
  }
  EXPECT_EQ(tags.Items(-1), nullptr);
  EXPECT_EQ(tags.Items(5), nullptr);
  ini.WriteString("Tags", "CaptionString0", "");
  ini.WriteString("Tags", "Color1", "junk");
  tags.LoadFromFile(ini);
  EXPECT_EQ(tags.Items(0)->Caption, "");
  EXPECT_EQ(tags.Items(1)->Color, 0x00FF00u);
}

TEST(TagList, DarkTestAtItsEdge) {
  EXPECT_TRUE(IsDarkColor(0x797979, nullptr));   // 121 grey: 119.79
  EXPECT_FALSE(IsDarkColor(0x7A7A7A, nullptr));  // 122 grey: 120.78
  EXPECT_FALSE(IsDarkColor(0xA3AD00, nullptr));  // exactly 120 is not dark
  EXPECT_TRUE(IsDarkColor(kBtnFaceColor, [](TColor) { return 0x000000u; }));
}

}  // namespace
}  // namespace orv::test
