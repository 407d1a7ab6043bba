#include "app/csv_export.h"

#include <algorithm>

namespace orv {

std::string CsvField(std::string_view text) {
  // Bytes below 0x80 are whole characters in UTF-8 (and the three that matter are below
  // 0x40, so never the second byte of a code-page character either).
  const bool quote = std::any_of(text.begin(), text.end(), [](char c) {
    auto b = static_cast<unsigned char>(c);
    return (b >= 1 && b <= 32) || b == '"' || b == ',';
  });
  if (!quote) return std::string(text);
  std::string out;
  out.reserve(text.size() + 2);
  out.push_back('"');
  for (char c : text) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line.push_back(',');
    line += CsvField(fields[i]);
  }
  line += "\r\n";
  return line;
}

}  // namespace orv
