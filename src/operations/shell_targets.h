// What the shell actions may hand to the shell. Registry data is untrusted: a page opens only
// as an absolute http or https address, a folder or program only as an existing local path,
// so no selection makes the shell reach a network share or guess at a relative name.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/program.h"
#include "platform/system_services.h"

namespace orv {

// The tool's own home page.

// "http://" or "https://" (any case), a host, and no blank or control character.
bool IsWebAddress(std::string_view text);

// A drive letter, a colon and a backslash. Server paths (\\server\share), device paths
// (\\?\, \\.\) and relative paths are not local absolute paths.
bool IsLocalAbsolutePath(std::string_view path);

// Everything up to and including the last backslash; empty when there is none.
std::string FolderPart(std::string_view path);

// "インストール先を開く": the folder of the program file, else the install location; each only
// when it is an existing local folder. Ends with a backslash, so the shell opens the folder
// and never a program of the same name beside it.
std::optional<std::string> FolderToOpen(const TProgram& program, SystemServices& system);

// "プログラムを実行": the program file, when it is an existing local file.
std::optional<std::string> ProgramToRun(const TProgram& program, SystemServices& system);

// "発行元のウェブページを開く": the publisher's address without surrounding blanks, when it
// is a web address.
std::optional<std::string> PublisherPage(const TProgram& program);

// The "確認" question before running a program.
std::string RunProgramQuestion(const std::string& path);

}  // namespace orv
