// The export's file side against Wine (the code page without best-fit, the replace that keeps
// the old file when anything fails) and the version resource reader.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/win32/file_output.h"
#include "platform/win32/file_version.h"
#include "platform/win32/wide.h"

namespace orv::test {
namespace {

std::filesystem::path TempFolder(const std::wstring& name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::filesystem::path folder = std::filesystem::path(dir) / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::size_t FileCount(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(Utf8ToCodePage932, WritesShiftJisWithoutLookAlikes) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"abc, \"x\"\r\n", "abc, \"x\"\r\n"},
      {"ヂア", "\x83\x61\x83\x41"},
      {"発行元", "\x94\xAD\x8D\x73\x8C\xB3"},
      {"表", "\x95\x5C"},                    // a trail byte that is "\" in ASCII
      {"¥100", "?100"},                      // never "\"
      {"Lumière", "Lumi?re"},                // never "e"
      {"Atelier Kōbō", "Atelier K?b?"},
      {"Ｃ：＼", "\x82\x62\x81\x46\x81\x5F"},  // full-width forms exist in 932
  };
  for (auto [text, expected] : cases) EXPECT_EQ(Utf8ToCodePage932(text), expected) << text;
}

TEST(ReplaceFileContents, ReplacesWholeAndLeavesNothingBeside) {
  auto folder = TempFolder(L"orv export 置換");
  auto target = folder / L"一覧.csv";
  ReplaceFileContents(Narrow(target.wstring()), "first\r\n");
  EXPECT_EQ(ReadBytes(target), "first\r\n");
  std::string big(300000, 'x');  // several write chunks
  ReplaceFileContents(Narrow(target.wstring()), big);
  EXPECT_EQ(ReadBytes(target), big);
  ReplaceFileContents(Narrow(target.wstring()), "");
  EXPECT_EQ(ReadBytes(target), "");
  EXPECT_EQ(FileCount(folder), 1u);
  std::filesystem::remove_all(folder);
}

TEST(ReplaceFileContents, AFailureKeepsTheOldFileAndNamesIt) {
  auto folder = TempFolder(L"orv export fail");
  // A missing folder: nothing can be created.
  std::string missing = Narrow((folder / L"nowhere" / L"x.csv").wstring());
  try {
    ReplaceFileContents(missing, "data");
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    std::string message = e.what();
    EXPECT_EQ(message.rfind("ファイル \"" + missing + "\" を作成できません。", 0), 0u) << message;
    EXPECT_GT(message.size(), missing.size() + 40) << "the system's reason is missing";
  }
  // A target that is a folder cannot be replaced: the new file goes again, the folder stays.
  auto blocked = folder / L"blocked.csv";
  std::filesystem::create_directory(blocked);
  std::ofstream(blocked / L"inside.txt") << "keep";
  try {
    ReplaceFileContents(Narrow(blocked.wstring()), "data");
    ADD_FAILURE() << "a folder was replaced";
  } catch (const std::runtime_error& e) {
    // The target refuses, so the file cannot be created there.
    EXPECT_EQ(std::string(e.what()).rfind("ファイル \"" + Narrow(blocked.wstring()) + "\" を作成できません。", 0), 0u)
        << e.what();
  }
  EXPECT_TRUE(std::filesystem::is_directory(blocked));
  EXPECT_EQ(ReadBytes(blocked / L"inside.txt"), "keep");
  EXPECT_EQ(FileCount(folder), 1u);  // no temporary file left beside it
  std::filesystem::remove_all(folder);
}

TEST(WriteWhole, AnswersTheFirstFailedWrite) {
  auto folder = TempFolder(L"orv export write");
  auto path = folder / L"x.csv";
  std::ofstream(path, std::ios::binary) << "old";
  // A handle that may not write stands in for a volume that refuses the data.
  HANDLE reading = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reading, INVALID_HANDLE_VALUE);
  EXPECT_NE(WriteWhole(reading, "new data"), 0u);
  EXPECT_EQ(WriteWhole(reading, ""), 0u);  // nothing to write: nothing fails
  CloseHandle(reading);
  HANDLE writing = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  EXPECT_EQ(WriteWhole(writing, std::string(200000, 'y')), 0u);
  CloseHandle(writing);
  EXPECT_EQ(ReadBytes(path), std::string(200000, 'y'));
  std::filesystem::remove_all(folder);
}

TEST(ReadFileVersion, ReadsTheFirstTranslationsStringOrNothing) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  EXPECT_FALSE(ReadFileVersion(std::wstring(system) + L"\\kernel32.dll").empty());
  // This exe's table is two bytes long: no whole entry, so no version, whatever follows it.
  wchar_t self[1024] = {};
  GetModuleFileNameW(nullptr, self, 1024);
  EXPECT_EQ(ReadFileVersion(self), "");
  // No version resource at all, and no file.
  auto folder = TempFolder(L"orv version");
  std::ofstream(folder / L"plain.txt") << "text";
  EXPECT_EQ(ReadFileVersion((folder / L"plain.txt").wstring()), "");
  EXPECT_EQ(ReadFileVersion((folder / L"missing.exe").wstring()), "");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace orv::test
