#include "platform/memory/memory_ini.h"

#include "text/utf.h"

namespace orv {

std::string MemoryIni::Key(std::string_view section, std::string_view key) {
  return AsciiUpper(section) + "\n" + AsciiUpper(key);
}

std::string MemoryIni::ReadString(std::string_view section, std::string_view key,
                                  std::string_view fallback) {
  auto it = values_.find(Key(section, key));
  std::string value = it == values_.end() ? std::string(fallback) : it->second;
  if (value.size() > 2047) value.resize(2047);
  return value;
}

bool MemoryIni::WriteString(std::string_view section, std::string_view key,
                            std::string_view value) {
  if (refuseWrites) return false;
  values_[Key(section, key)] = std::string(value);
  return true;
}

bool MemoryIni::DeleteKey(std::string_view section, std::string_view key) {
  if (refuseWrites) return false;
  values_.erase(Key(section, key));
  return true;
}

bool MemoryIni::Has(std::string_view section, std::string_view key) const {
  return values_.count(Key(section, key)) != 0;
}

}  // namespace orv
