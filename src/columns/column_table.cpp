#include "columns/column_table.h"

#include <cstdio>

#include "catalogue/program_text.h"

namespace orv {
namespace {

std::string Megabytes(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2fMB", value);
  return buffer;
}

// Milliseconds since 1899-12-30 of a local calendar time: the order last-use times sort in.
std::int64_t CalendarMilliseconds(const CalendarTime& t) {
  // Days from civil, shifted so that 1899-12-30 is day 0.
  const std::int64_t y = t.year - (t.month <= 2);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t mp = (t.month + 9) % 12;
  const std::int64_t doy = (153 * mp + 2) / 5 + t.day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int64_t days = era * 146097 + doe - 719468 + 25569;
  return days * 86400000 + t.hour * 3600000LL + t.minute * 60000LL + t.second * 1000LL + t.millisecond;
}

using P = const TProgram&;
using T = const TTagList&;
using S = SystemServices&;

constexpr std::array<ColumnDef, kColumnCount> kColumns = {{
    {kColProgram, "プログラム", 300, true,
     [](P p, T, S) { return p.DisplayName.empty() ? p.KeyName : p.DisplayName; }},
    {kColStatus, "ステータス", kStatusColumnWidth, true, [](P, T, S) { return std::string(); },
     [](P p, S) -> std::int64_t { return StatusWeight(p); }},
    {kColPublisher, "発行元", 130, true, [](P p, T, S) { return p.Publisher; }},
    {kColVersion, "バージョン", 50, false, [](P p, T, S) { return p.DisplayVersion; }},
    {kColEstimatedSize, "予想サイズ", 80, false,
     [](P p, T, S) { return p.EstimatedSize ? Megabytes(p.EstimatedSize * 0.0009765625) : std::string(); },
     [](P p, S) -> std::int64_t { return p.EstimatedSize; }},
    {kColHelpLink, "サポート情報", 150, false, [](P p, T, S) { return p.HelpLink; }},
    {kColUrlInfoAbout, "製品情報", 150, false, [](P p, T, S) { return p.URLInfoAbout; }},
    {kColUrlUpdateInfo, "アップデート情報", 150, false, [](P p, T, S) { return p.URLUpdateInfo; }},
    {kColTelephone, "電話番号", 150, false, [](P p, T, S) { return p.HelpTelephone; }},
    {kColContact, "問い合わせ先", 150, false, [](P p, T, S) { return p.Contact; }},
    {kColReadme, "説明ファイル", 150, false, [](P p, T, S) { return p.Readme; }},
    {kColComments, "メモ", 150, false, [](P p, T, S) { return p.Comments; }},
    {kColInstallDate, "インストール日", 80, true, [](P p, T, S) { return p.InstallDate; }},
    {kColReleaseType, "リリースタイプ", 100, false, [](P p, T, S) { return p.ReleaseType; }},
    {kColInstallLocation, "インストール場所", 150, false, [](P p, T, S) { return p.InstallLocation; }},
    {kColInstallSource, "インストール元", 150, false, [](P p, T, S) { return p.InstallSource; }},
    {kColInstallSize, "サイズ", 80, true,
     [](P p, T, S) {
       return p.InstallSize > 0 ? Megabytes(static_cast<double>(p.InstallSize) * 9.5367431640625e-07)
                                : std::string();
     },
     [](P p, S) -> std::int64_t { return p.InstallSize; }},
    {kColUsageFrequency, "使用頻度", 80, false, [](P p, T, S) { return std::to_string(p.UsageFrequency); },
     [](P p, S) -> std::int64_t { return p.UsageFrequency; }},
    {kColLastUsed, "最終使用", 120, true, [](P p, T, S s) { return FileTimeToText(s, p.LastUsed); },
     [](P p, S s) -> std::int64_t {
       const auto time = FileTimeToDateTime(s, static_cast<std::uint32_t>(p.LastUsed),
                                            static_cast<std::uint32_t>(p.LastUsed >> 32));
       return time ? CalendarMilliseconds(*time) : 0;
     }},
    {kColFileName, "ファイル名", 150, true, [](P p, T, S) { return p.SlowInfoFileName; }},
    {kColTag, "タグ", 80, true,
     [](P p, T tags, S) {
       const TAppTag* tag = tags.Items(p.TagIndex);
       return tag ? tag->Caption : std::string();
     }},
    {kColRegistry, "レジストリ", 80, false, [](P p, T, S) { return p.KeyName; }},
}};

constexpr bool InIdentifierOrder() {
  for (int id = 0; id < kColumnCount; ++id)
    if (kColumns[static_cast<std::size_t>(id)].id != id || !kColumns[static_cast<std::size_t>(id)].text)
      return false;
  return true;
}
static_assert(InIdentifierOrder(), "the column table holds the 22 identifiers in order, each with its text");

}  // namespace

const std::array<ColumnDef, kColumnCount>& Columns() { return kColumns; }

const ColumnDef* ColumnOf(int id) {
  return id >= 0 && id < kColumnCount ? &kColumns[static_cast<std::size_t>(id)] : nullptr;
}

std::string CellText(const TProgram& program, int columnId, const TTagList& tags, SystemServices& system) {
  const ColumnDef* column = ColumnOf(columnId);
  return column ? column->text(program, tags, system) : "BUG!!ShowPrograms";
}

int StatusWeight(const TProgram& program) {
  return (program.ChangeAllowed ? 0 : 1) + (program.IsNew ? 2 : 0);
}

}  // namespace orv
