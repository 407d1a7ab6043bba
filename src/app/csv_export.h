// The list export's CSV form: one field, one line. Text stays UTF-8 here; the file's code
// page is applied to whole lines when they are written.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// A field holding a control character or blank (1 to 32), a double quote or a comma is
// quoted, its double quotes doubled; any other field, the empty one included, is unchanged.
std::string CsvField(std::string_view text);

// The fields encoded and joined by commas, ending in "\r\n".
std::string CsvLine(const std::vector<std::string>& fields);

}  // namespace orv
