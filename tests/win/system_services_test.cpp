// Locale, time, environment and INI services against Wine's real implementations.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <vector>

#include "catalogue/program_text.h"
#include "columns/column_model.h"
#include "platform/ini_codec.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_ini.h"
#include "platform/win32/win32_system.h"

namespace orv::test {
namespace {

std::string TempPath(const std::wstring& name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + name;
  DeleteFileW(path.c_str());
  return Narrow(path);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(std::filesystem::path(Widen(path)), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Win32System, TheSystemRunsWithTheJapaneseCodePage) { EXPECT_EQ(GetACP(), 932u); }

TEST(Win32System, AnsiTextIsExactOrNothing) {
  Win32System system;
  EXPECT_EQ(system.ToAnsiExact("HKCU\\写真"), std::string("HKCU\\\x8E\xCA\x90\x5E"));
  EXPECT_EQ(system.FromAnsi("HKCU\\\x8E\xCA\x90\x5E"), "HKCU\\写真");
  // No best-fit look-alikes: an accented letter or an emoji has no exact form there.
  EXPECT_EQ(system.ToAnsiExact("Lumière"), std::nullopt);
  EXPECT_EQ(system.ToAnsiExact("😀"), std::nullopt);
  EXPECT_EQ(system.ToAnsiExact(""), std::string());
}

TEST(Win32System, ReplacingAFileKeepsTheOldOneUntilTheNewOneIsWhole) {
  Win32System system;
  const std::string path = TempPath(L"orv appdata テスト");
  EXPECT_EQ(system.ReadWholeFile(path), std::nullopt);
  ASSERT_EQ(system.ReplaceWholeFile(path, std::string("one\0two", 7)), "");
  EXPECT_EQ(system.ReadWholeFile(path), std::string("one\0two", 7));
  // While another program holds the file open without sharing, the replace fails, says why,
  // and the old content stays.
  HANDLE held = CreateFileW(Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_NE(system.ReplaceWholeFile(path, "three"), "");
  CloseHandle(held);
  EXPECT_EQ(system.ReadWholeFile(path), std::string("one\0two", 7));
  ASSERT_EQ(system.ReplaceWholeFile(path, "three"), "");
  EXPECT_EQ(system.ReadWholeFile(path), "three");
  // A folder that does not exist cannot take the file.
  EXPECT_NE(system.ReplaceWholeFile(TempPath(L"no such folder\\appdata"), "x"), "");
  DeleteFileW(Widen(path).c_str());
}

TEST(Win32System, CreatesFoldersAndProbesThem) {
  Win32System system;
  const std::string base = TempPath(L"orv folder");
  const std::string nested = base + "\\per user\\Orvalinde";
  RemoveDirectoryW(Widen(nested).c_str());  // left by a run that stopped half-way
  RemoveDirectoryW(Widen(base + "\\per user").c_str());
  RemoveDirectoryW(Widen(base).c_str());
  EXPECT_FALSE(system.CanCreateFilesIn(nested));
  ASSERT_TRUE(system.CreateFolder(nested));
  EXPECT_TRUE(system.DirectoryExists(nested));
  EXPECT_TRUE(system.CanCreateFilesIn(nested));
  // The probe leaves nothing behind.
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(Widen(nested + "\\*").c_str(), &found);
  int entries = 0;
  if (find != INVALID_HANDLE_VALUE) {
    do ++entries; while (FindNextFileW(find, &found));
    FindClose(find);
  }
  EXPECT_EQ(entries, 2);  // "." and ".."
  RemoveDirectoryW(Widen(nested).c_str());
  RemoveDirectoryW(Widen(base + "\\per user").c_str());
  RemoveDirectoryW(Widen(base).c_str());
}

TEST(Win32Ini, KeepsTheFileInTheAnsiCodePage) {
  std::string path = TempPath(L"orv テスト.ini");
  Win32Ini ini(path);
  IniCodec codec(ini);
  codec.WriteString("Tags", "CaptionString0", "重要");
  codec.WriteInteger("Column", "Width0", -12);
  std::string bytes = ReadBytes(path);
  EXPECT_NE(bytes.find("CaptionString0=\x8F\x64\x97\x76"), std::string::npos)  // 重要 in 932
      << bytes;
  EXPECT_EQ(bytes.find("\xE9\x87\x8D"), std::string::npos);  // not UTF-8
  EXPECT_EQ(codec.ReadString("Tags", "CaptionString0", ""), "重要");
  EXPECT_EQ(codec.ReadInteger("Column", "Width0", 0), -12);
  EXPECT_EQ(codec.ReadInteger("Column", "Missing", 77), 77);

  // A file written by hand in code page 932 reads back as text; unknown keys survive saves.
  std::ofstream(std::filesystem::path(Widen(path)), std::ios::binary | std::ios::trunc)
      << "[Option]\r\nStripeColor=0xF0F0F0\r\nMine=\x93\xfa\x96\x7b\r\n[Column]\r\nWidth2=$40\r\n";
  EXPECT_EQ(codec.ReadInteger("Option", "StripeColor", 0), 0xF0F0F0);
  EXPECT_EQ(codec.ReadString("Option", "Mine", ""), "日本");
  TLvColumnSetting columns;
  columns.LoadFromFile(ini);
  EXPECT_EQ(columns.Items(kColPublisher).Width, 64);
  columns.SaveToFile(ini);
  EXPECT_EQ(codec.ReadString("Option", "Mine", ""), "日本");
  EXPECT_EQ(codec.ReadString("Option", "StripeColor", ""), "0xF0F0F0");
  EXPECT_EQ(codec.ReadString("Column", "Width1", "gone"), "gone");
  DeleteFileW(Widen(path).c_str());
}

TEST(Win32Ini, RefusedWriteRaisesWithThePath) {
  std::string path = Narrow(L"Z:\\nonexistent-dir-orv\\deeper\\x.ini");
  Win32Ini ini(path);
  IniCodec codec(ini);
  EXPECT_THROW(codec.WriteString("Option", "Stripe", "1"), EIniWriteError);
}

TEST(Win32System, FormatsDatesInTheUserLocale) {
  Win32System system;
  SYSTEMTIME local{2024, 3, 0, 5, 13, 45, 10, 0};
  FILETIME localFile, utcFile;
  ASSERT_TRUE(SystemTimeToFileTime(&local, &localFile));
  ASSERT_TRUE(LocalFileTimeToFileTime(&localFile, &utcFile));
  std::uint64_t ft = (static_cast<std::uint64_t>(utcFile.dwHighDateTime) << 32) | utcFile.dwLowDateTime;
  // Japanese short dates may or may not pad month and day.
  std::string text = FileTimeToText(system, ft);
  EXPECT_TRUE(std::regex_match(text, std::regex("2024/0?3/0?5 13:45:10"))) << text;
  SYSTEMTIME midnight{2024, 3, 0, 5, 0, 0, 0, 0};
  ASSERT_TRUE(SystemTimeToFileTime(&midnight, &localFile));
  ASSERT_TRUE(LocalFileTimeToFileTime(&localFile, &utcFile));
  ft = (static_cast<std::uint64_t>(utcFile.dwHighDateTime) << 32) | utcFile.dwLowDateTime;
  text = FileTimeToText(system, ft);
  EXPECT_TRUE(std::regex_match(text, std::regex("2024/0?3/0?5"))) << text;
  EXPECT_EQ(FileTimeToText(system, 0xFFFFFFFFFFFFFFFFull), "");
  EXPECT_EQ(FileTimeToText(system, 0xFFFFFFFFFFFFFFFEull), "");  // beyond any calendar
}

TEST(Win32System, SortKeysOrderAsTheLocaleCompares) {
  Win32System system;
  std::vector<std::string> texts = {"beta", "Alpha", "ALPHA", "co-op", "coop", "10.0", "9.0",
                                    "アプリ", "あぷり", "表計算", "", "Zeta", "_under", "ÄPFEL",
                                    std::string(300, 'x') + "長い"};
  for (const auto& a : texts)
    for (const auto& b : texts) {
      int byCompare = system.CompareTextNoCase(a, b);
      std::string ka = system.TextSortKey(a), kb = system.TextSortKey(b);
      int byKey = ka < kb ? -1 : ka > kb ? 1 : 0;
      EXPECT_EQ(byKey, byCompare < 0 ? -1 : byCompare > 0 ? 1 : 0) << a << " / " << b;
    }
}

TEST(Win32System, ExpandsAndComparesAndTestsFiles) {
  Win32System system;
  EXPECT_EQ(AsciiUpper(ExpandEnvironment(system, "%SystemRoot%\\x")), "C:\\WINDOWS\\X");
  EXPECT_EQ(ExpandEnvironment(system, "%OrvNoSuchVariable%"), "%OrvNoSuchVariable%");
  EXPECT_EQ(system.CompareTextNoCase("abc", "ABC"), 0);
  EXPECT_LT(system.CompareTextNoCase("abc", "abd"), 0);
  EXPECT_GT(system.CompareTextNoCase("b", "A"), 0);
  EXPECT_TRUE(system.DirectoryExists("C:\\windows"));
  EXPECT_FALSE(system.FileExists("C:\\windows"));
  EXPECT_TRUE(system.FileExists(ExpandEnvironment(system, "%SystemRoot%\\system32\\kernel32.dll")));
  EXPECT_FALSE(system.FileExists("C:\\no\\such\\file.exe"));
}

}  // namespace
}  // namespace orv::test
