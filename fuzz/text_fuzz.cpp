// The small text readers: CSV fields, environment expansion, quotes, the find matcher and the
// UTF conversions, each with what must hold for any input.
#include <cstdlib>
#include <string>

#include "app/csv_export.h"
#include "text/find_matcher.h"
#include "catalogue/program_text.h"
#include "platform/memory/memory_system.h"
#include "text/utf.h"

namespace {

// Reads one quoted CSV field back; the field must be all of `text`.
bool ReadsBackAs(const std::string& field, const std::string& text) {
  if (field.size() < 2 || field.front() != '"' || field.back() != '"') return field == text;
  std::string out;
  for (size_t i = 1; i + 1 < field.size(); ++i) {
    if (field[i] == '"') {
      if (i + 2 >= field.size() || field[i + 1] != '"') return false;
      ++i;
    }
    out += field[i];
  }
  return out == text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string first = input.substr(0, split);
  const std::string second = split == std::string::npos ? std::string() : input.substr(split + 1);

  if (!ReadsBackAs(orv::CsvField(first), first)) std::abort();
  (void)orv::CsvLine({first, second});

  orv::MemorySystem system;
  (void)orv::ExpandEnvironment(system, first);
  (void)orv::StripQuotes(first);

  const bool caseMatch = orv::FindTextMatches(first, second, true);
  const bool foldMatch = orv::FindTextMatches(first, second, false);
  if (caseMatch && !foldMatch) std::abort();  // folding only ever finds more
  if (orv::FindTextMatches(first, "", false)) std::abort();  // an empty pattern finds nothing
  if (!second.empty() && !orv::FindTextMatches(first + second, second, true)) std::abort();

  const std::u16string wide = orv::Utf8ToUtf16(first);
  (void)orv::Utf16ToUtf8(wide);
  (void)orv::Utf16LeBytesToUtf8(data, size);
  (void)orv::TrimControls(first);
  return 0;
}
