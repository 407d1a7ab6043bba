// The portable halves of find, the CSV export and the display-item dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/csv_export.h"
#include "text/find_matcher.h"
#include "columns/column_model.h"
#include "columns/display_items.h"
#include "platform/memory/memory_ini.h"

namespace orv::test {
namespace {

TEST(FindTextMatches, FoldsOnlyAsciiLettersOfWholeCharacters) {
  struct Case {
    const char* subject;
    const char* pattern;
    bool matchCase;
    bool expected;
  };
  const Case cases[] = {
      {"Photo Viewer", "viewer", false, true},
      {"Photo Viewer", "viewer", true, false},
      {"Photo Viewer", "Viewer", true, true},
      {"photo viewer", "PHOTO V", false, true},
      {"abc", "", false, false},  // an empty pattern matches nothing
      {"", "", true, false},
      {"", "a", false, false},
      {"ab", "abc", false, false},
      // In code page 932 these two differ only in a trail byte inside the letter range
      // (83 61 and 83 41); they are different characters and never match each other.
      {"ヂ", "ア", false, false},
      {"ア", "ヂ", false, false},
      {"ヂスク", "ヂ", false, true},
      // Full-width and accented letters are not ASCII: exact only.
      {"ＡＢＣ", "ａｂｃ", false, false},
      {"Lumière", "LUMIÈRE", false, false},
      {"Lumière", "LUMIèRE", false, true},
      // The other ASCII signs stay what they are: '@' is not '`', '[' is not '{'.
      {"a@b", "A`B", false, false},
      {"[x]", "{X}", false, false},
      {"C:\\Program Files\\Orv\\app.exe", "c:\\program files\\orv", false, true},
      {"表計算アドイン 2026", "アドイン", true, true},
      {"表計算アドイン 2026", "ドイ", false, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindTextMatches(c.subject, c.pattern, c.matchCase), c.expected)
        << c.subject << " / " << c.pattern << " / " << c.matchCase;
}

TEST(FindRow, WalksFromTheSelectionWithoutWrapping) {
  // Rows 1, 3 and 4 match.
  const std::vector<bool> matches = {false, true, false, true, true};
  std::vector<int> tested;
  auto rowMatches = [&](int row) {
    tested.push_back(row);
    return matches[static_cast<std::size_t>(row)];
  };
  struct Case {
    int selected;
    FindDirection direction;
    int expected;
  };
  const Case cases[] = {
      {-1, FindDirection::Next, 1},      // nothing selected: from the top
      {1, FindDirection::Next, 3},       // the selected row itself is skipped
      {3, FindDirection::Next, 4},
      {4, FindDirection::Next, -1},      // the last match: no wrap to row 1
      {-1, FindDirection::Previous, -1}, // nothing selected: nothing searched
      {0, FindDirection::Previous, -1},
      {4, FindDirection::Previous, 3},
      {3, FindDirection::Previous, 1},
      {1, FindDirection::Previous, -1},  // no wrap to row 4
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindRow(5, c.selected, c.direction, rowMatches), c.expected)
        << c.selected << " " << (c.direction == FindDirection::Next ? "next" : "prev");

  tested.clear();
  EXPECT_EQ(FindRow(5, -1, FindDirection::Previous, rowMatches), -1);
  EXPECT_EQ(FindRow(0, -1, FindDirection::Next, rowMatches), -1);
  EXPECT_TRUE(tested.empty());
  // A selection beyond the rows (a list that just shrank) searches only rows that exist.
  EXPECT_EQ(FindRow(5, 9, FindDirection::Previous, rowMatches), 4);
  EXPECT_EQ(FindRow(5, 9, FindDirection::Next, rowMatches), -1);
  for (int row : tested) EXPECT_LT(row, 5);
}

TEST(CsvField, QuotesBlanksControlsQuotesAndCommas) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},                              // empty: nothing, never a pair of quotes
      {"OneWord", "OneWord"},
      {"表計算アドイン", "表計算アドイン"},
      {"Orv NSIS デモ", "\"Orv NSIS デモ\""},  // a blank
      {"Acme, Inc.", "\"Acme, Inc.\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"\"", "\"\"\"\""},
      {"tab\there", "\"tab\there\""},
      {"line\r\nbreak", "\"line\r\nbreak\""},
      {"\x01", "\"\x01\""},
      {"20.00MB", "20.00MB"},
      {"C:\\Users\\Public\\fusen.exe", "C:\\Users\\Public\\fusen.exe"},
      {"全角　空白", "全角　空白"},  // the full-width blank is not a blank of the rule
      {"semi;colon", "semi;colon"},
  };
  for (auto [text, expected] : cases) EXPECT_EQ(CsvField(text), expected) << text;
}

TEST(CsvLine, JoinsFieldsAndEndsInCrLf) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"プログラム", "", "発行元", "インストール日"}, "プログラム,,発行元,インストール日\r\n"},
      {{"a b", "", "", "x,y"}, "\"a b\",,,\"x,y\"\r\n"},
      {{""}, "\r\n"},
      {{}, "\r\n"},
  };
  for (const auto& [fields, expected] : cases) EXPECT_EQ(CsvLine(fields), expected);
}

TEST(ParseColumnWidth, AcceptsZeroTo32767) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"0", 0},          {"150", 150},          {" 80 ", 80},           {"32767", 32767},
      {"007", 7},        {"32768", std::nullopt}, {"99999", std::nullopt}, {"123456", std::nullopt},
      {"-1", std::nullopt}, {"-2", std::nullopt}, {"+5", std::nullopt},  {"", std::nullopt},
      {"  ", std::nullopt}, {"abc", std::nullopt}, {"12a", std::nullopt}, {"1 2", std::nullopt},
      {"0x10", std::nullopt}, {"１２", std::nullopt},
  };
  for (auto [text, expected] : cases) EXPECT_EQ(ParseColumnWidth(text), expected) << text;
}

TEST(DisplayItemList, ListsTheOptionalColumnsAndAppliesOrderAndChecks) {
  TLvColumnSetting setting;
  MemoryIni ini;
  setting.LoadFromFile(ini);
  DisplayItemList items(setting);
  ASSERT_EQ(items.Rows().size(), 20u);
  EXPECT_EQ(items.Rows().front().caption, "発行元");
  EXPECT_EQ(items.Rows().back().caption, "レジストリ");
  std::vector<int> checked;
  for (const DisplayItemRow& row : items.Rows())
    if (row.checked) checked.push_back(row.id);
  EXPECT_EQ(checked, (std::vector<int>{kColPublisher, kColInstallDate, kColInstallSize,
                                       kColLastUsed, kColFileName, kColTag}));

  // Moving: nothing at the ends or without a row; otherwise the whole row moves.
  EXPECT_EQ(items.MoveUp(0), 0);
  EXPECT_EQ(items.MoveDown(19), 19);
  EXPECT_EQ(items.MoveUp(-1), -1);
  EXPECT_EQ(items.MoveDown(-1), -1);
  EXPECT_EQ(items.Rows().front().id, kColPublisher);
  int tag = 18;  // "タグ" stands before "レジストリ"
  ASSERT_EQ(items.Rows()[18].id, kColTag);
  while (tag > 0) tag = items.MoveUp(tag);
  EXPECT_EQ(items.Rows()[0].id, kColTag);
  EXPECT_TRUE(items.Rows()[0].checked);
  EXPECT_EQ(items.Rows()[1].id, kColPublisher);
  EXPECT_EQ(items.MoveDown(1), 2);
  EXPECT_EQ(items.Rows()[2].id, kColPublisher);
  items.SetChecked(2, false);       // the publisher
  items.SetChecked(1, true);        // "バージョン", now second
  items.SetChecked(20, true);       // no such row: ignored

  // Cancel leaves the model alone; OK writes it.
  EXPECT_EQ(setting.ShownColumnIds(),
            (std::vector<int>{kColProgram, kColStatus, kColPublisher, kColInstallDate,
                              kColInstallSize, kColLastUsed, kColFileName, kColTag}));
  items.ApplyTo(setting);
  EXPECT_EQ(setting.ShownColumnIds(),
            (std::vector<int>{kColProgram, kColStatus, kColTag, kColVersion, kColInstallDate,
                              kColInstallSize, kColLastUsed, kColFileName}));
  EXPECT_EQ(setting.Items(kColTag).Order, 0);
  EXPECT_EQ(setting.Items(kColProgram).Order, -2);

  // Unchecking every row leaves the two fixed columns; the order survives a save and load.
  DisplayItemList none(setting);
  for (int i = 0; i < 20; ++i) none.SetChecked(i, false);
  none.ApplyTo(setting);
  EXPECT_EQ(setting.ShownColumnIds(), (std::vector<int>{kColProgram, kColStatus}));
  setting.SaveToFile(ini);
  TLvColumnSetting reloaded;
  reloaded.LoadFromFile(ini);
  EXPECT_EQ(DisplayItemList(reloaded).Rows()[0].id, kColTag);
  EXPECT_EQ(reloaded.ShownColumnIds(), (std::vector<int>{kColProgram, kColStatus}));
}

}  // namespace
}  // namespace orv::test
