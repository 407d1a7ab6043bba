#include "app/program_rows.h"

#include <cstdio>

#include "catalogue/program_text.h"
#include "catalogue/uninstall_scan.h"
#include "columns/column_model.h"

namespace orv {
namespace {

std::string Megabytes(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2fMB", value);
  return buffer;
}

}  // namespace

std::vector<int> BuildTabRows(const ProgramList& programs, int tab, bool showSystemComponents) {
  std::vector<int> rows;
  if (tab != kTabApplications && tab != kTabUpdates) return rows;
  rows.reserve(programs.size());
  for (std::size_t i = 0; i < programs.size(); ++i) {
    const TProgram& p = programs[i];
    if (!showSystemComponents && p.SystemComponent) continue;
    if (IsUpdateProgram(&p) != (tab == kTabUpdates)) continue;
    rows.push_back(static_cast<int>(i));
  }
  return rows;
}

std::string CellText(const TProgram& p, int columnId, const TTagList& tags,
                     SystemServices& system) {
  switch (columnId) {
    case kColProgram: return p.DisplayName.empty() ? p.KeyName : p.DisplayName;
    case kColStatus: return "";
    case kColPublisher: return p.Publisher;
    case kColVersion: return p.DisplayVersion;
    case kColEstimatedSize:
      return p.EstimatedSize ? Megabytes(p.EstimatedSize * 0.0009765625) : "";
    case kColHelpLink: return p.HelpLink;
    case kColUrlInfoAbout: return p.URLInfoAbout;
    case kColUrlUpdateInfo: return p.URLUpdateInfo;
    case kColTelephone: return p.HelpTelephone;
    case kColContact: return p.Contact;
    case kColReadme: return p.Readme;
    case kColComments: return p.Comments;
    case kColInstallDate: return p.InstallDate;
    case kColReleaseType: return p.ReleaseType;
    case kColInstallLocation: return p.InstallLocation;
    case kColInstallSource: return p.InstallSource;
    case kColInstallSize:
      return p.InstallSize > 0 ? Megabytes(static_cast<double>(p.InstallSize) * 9.5367431640625e-07)
                               : "";
    case kColUsageFrequency: return std::to_string(p.UsageFrequency);
    case kColLastUsed: return FileTimeToText(system, p.LastUsed);
    case kColFileName: return p.SlowInfoFileName;
    case kColTag: {
      const TAppTag* tag = tags.Items(p.TagIndex);
      return tag ? tag->Caption : "";
    }
    case kColRegistry: return p.KeyName;
    default: return "BUG!!ShowPrograms";
  }
}

std::string ProgramCountText(std::size_t rows) {
  return " " + std::to_string(rows) + " 個のプログラム";
}

}  // namespace orv
