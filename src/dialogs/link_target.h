// What a link label may do with the text the registry holds. The text is untrusted: only a
// web address goes to the browser, only an existing absolute folder is opened, and a file is
// opened directly only when it is a plain document.
#pragma once
#include <string>
#include <string_view>

#include "platform/system_services.h"

namespace orv {

enum class LinkAction {
  OpenWeb,         // absolute http or https address, or mailto where allowed
  OpenFolder,      // an existing absolute folder
  OpenDocument,    // an existing absolute file of a document type
  ConfirmProgram,  // an existing absolute file that may run: open only after a confirmation
  CopyOnly,        // anything else: put on the clipboard, never run
};

LinkAction ClassifyLinkTarget(std::string_view target, bool allowMailto, SystemServices& system);

// The confirmation shown before a file that may run is opened.
std::string ProgramLinkWarning(std::string_view target);

}  // namespace orv
