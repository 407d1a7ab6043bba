#include <gtest/gtest.h>

#include "catalogue/program_text.h"
#include "platform/memory/memory_system.h"
#include "text/utf.h"

namespace orv::test {
namespace {

TEST(StripQuotes, RemovesAtMostOneQuoteAtEachEnd) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"\"C:\\P\\a.exe\"", "C:\\P\\a.exe"},
      {"\"C:\\P\\a.exe\",0", "C:\\P\\a.exe\",0"},  // the quote before the comma stays
      {"\"", ""},
      {"'", ""},
      {"''", ""},
      {"'C:\\x'", "C:\\x"},
      {"\"\"x\"\"", "\"x\""},
      {"a\"b", "a\"b"},
      {"C:\\日本語\\表.exe\"", "C:\\日本語\\表.exe"},
  };
  for (auto [in, out] : cases) EXPECT_EQ(StripQuotes(in), out) << in;
}

TEST(ExpandEnvironment, ExpandsKnownAndKeepsUnknownReferences) {
  MemorySystem system;
  EXPECT_EQ(ExpandEnvironment(system, "%SystemRoot%\\a.exe"), "C:\\Windows\\a.exe");
  EXPECT_EQ(ExpandEnvironment(system, "%NOPE%\\%SystemRoot%"), "%NOPE%\\C:\\Windows");
  EXPECT_EQ(ExpandEnvironment(system, "100%"), "100%");
  system.environment["LONG"] = std::string(300, 'x');
  std::string cut = ExpandEnvironment(system, "%LONG%");
  EXPECT_EQ(cut.size(), 259u);
  // The limit counts UTF-16 units, not bytes: 259 Japanese characters fit whole.
  std::string japanese;
  for (int i = 0; i < 259; ++i) japanese += "表";
  system.environment["LONG"] = japanese + "x";
  EXPECT_EQ(ExpandEnvironment(system, "%LONG%"), japanese);
  // A character outside the BMP takes two units and is never split.
  system.environment["LONG"] = std::string(258, 'x') + "😀";
  EXPECT_EQ(ExpandEnvironment(system, "%LONG%"), std::string(258, 'x'));
  system.environment["LONG"] = std::string(257, 'x') + "😀";
  EXPECT_EQ(ExpandEnvironment(system, "%LONG%"), std::string(257, 'x') + "😀");
}

TEST(FileTimeToText, EmptyForNoTimeAndDropsMidnight) {
  MemorySystem system;
  EXPECT_EQ(FileTimeToText(system, 0, 0), "");
  EXPECT_EQ(FileTimeToText(system, 0xFFFFFFFFu, 0xFFFFFFFFu), "");
  // 2024-03-05 00:00:00 UTC and 13:45:10 the same day.
  const std::uint64_t midnight = (1709596800ull + 11644473600ull) * 10000000ull;
  EXPECT_EQ(FileTimeToText(system, midnight), "2024/03/05");
  EXPECT_EQ(FileTimeToText(system, midnight + (13 * 3600 + 45 * 60 + 10) * 10000000ull),
            "2024/03/05 13:45:10");
  EXPECT_EQ(FileTimeToText(system, midnight + 10000), "2024/03/05 0:00:00");  // 1 ms past
  EXPECT_EQ(FileTimeToText(system, 0xFFFFFFFFFFFFFFFEull), "");  // beyond any calendar
}

TEST(Utf, RoundTripsAndReplacesInvalidInput) {
  const std::string samples[] = {"", "ascii", "日本語のテキスト", "emoji 😀 and ü"};
  for (const auto& s : samples) EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(s)), s);
  EXPECT_EQ(Utf8ToUtf16("\xE6\x97"), u"\uFFFD\uFFFD");         // cut short
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");         // overlong
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80" "a"), std::u16string(1, u'\xD800') + u"a");  // a key name's surrogate
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800') + u"a"), "\xEF\xBF\xBD" "a");
  const unsigned char bytes[] = {'A', 0, 0xE5, 0x65, 0, 0, 'B', 0};
  EXPECT_EQ(Utf16LeBytesToUtf8(bytes, sizeof bytes), "A日");  // ends at the NUL
  EXPECT_EQ(Utf16LeBytesToUtf8(bytes, 3), "A");  // an odd trailing byte is ignored
}

TEST(Utf, AKeyNameWithUnpairedSurrogatesSurvivesTheWayBack) {
  const std::u16string names[] = {
      std::u16string(u"Orv") + u'\xDC00',               // a low one at the end
      std::u16string(1, u'\xD800') + u"A",              // a high one before text
      std::u16string(1, u'\xDBFF') + u'\xD800' + u"😀",  // two highs, then a real pair
      u"名前 😀",                                       // nothing unpaired: plain UTF-8
  };
  for (const auto& name : names) EXPECT_EQ(Utf8ToUtf16(KeyNameToUtf8(name)), name);
  EXPECT_EQ(KeyNameToUtf8(u"名前 😀"), "名前 😀");
}

TEST(TrimControls, RemovesBlanksAndControlCharactersOnly) {
  EXPECT_EQ(TrimControls(" \t\r\n x y \x01"), "x y");
  EXPECT_EQ(TrimControls("\x7F"), "\x7F");
  EXPECT_EQ(TrimControls("　全角　"), "　全角　");  // a full-width blank is text
}

}  // namespace
}  // namespace orv::test
