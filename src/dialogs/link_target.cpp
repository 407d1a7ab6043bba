#include "dialogs/link_target.h"

#include <algorithm>

#include "operations/shell_targets.h"
#include "text/utf.h"

namespace orv {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsAsciiNoCase(text.substr(0, prefix.size()), prefix);
}

// Extensions whose default handler only shows the file.
bool IsDocument(std::string_view path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of("\\/");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
    return false;
  const std::string extension = AsciiUpper(path.substr(dot + 1));
  static constexpr std::string_view kDocuments[] = {"TXT", "RTF", "PDF", "LOG", "MD",
                                                    "DOC", "DOCX", "WRI", "XPS"};
  return std::find(std::begin(kDocuments), std::end(kDocuments), extension) !=
         std::end(kDocuments);
}

}  // namespace

LinkAction ClassifyLinkTarget(std::string_view target, bool allowMailto, SystemServices& system) {
  // Control characters, spaces around and embedded quotes have no place in an address or path.
  if (target.empty() ||
      std::any_of(target.begin(), target.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '"'; }))
    return LinkAction::CopyOnly;
  if (IsWebAddress(target)) return LinkAction::OpenWeb;
  if (allowMailto && StartsWithNoCase(target, "mailto:") && target.size() > 7 &&
      target.find(' ') == std::string_view::npos)
    return LinkAction::OpenWeb;
  if (!IsLocalAbsolutePath(target)) return LinkAction::CopyOnly;
  if (system.DirectoryExists(target)) return LinkAction::OpenFolder;
  if (system.FileExists(target))
    return IsDocument(target) ? LinkAction::OpenDocument : LinkAction::ConfirmProgram;
  return LinkAction::CopyOnly;
}

std::string ProgramLinkWarning(std::string_view target) {
  return "このリンクはプログラムまたはスクリプトとして実行される可能性があります. 開きますか ?\n\n" +
         std::string(target);
}

}  // namespace orv
