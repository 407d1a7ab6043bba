#include "catalogue/registry_ex.h"

#include <cstring>

#include "text/utf.h"

namespace orv {

bool TRegistryEx::OpenKeyReadOnly(std::string_view path) {
  CloseKey();
  key_ = registry_.OpenKey(root_, path, KeyAccess::Read);
  return key_ != nullptr;
}

bool TRegistryEx::OpenSubKeyReadOnly(RegistryKey& parent, std::string_view name) {
  CloseKey();
  key_ = parent.OpenSubKey(name, KeyAccess::Read);
  return key_ != nullptr;
}

bool TRegistryEx::OpenKeyForWrite(std::string_view path) {
  CloseKey();
  key_ = registry_.OpenKey(root_, path, KeyAccess::ReadWrite);
  return key_ != nullptr;
}

std::vector<std::string> TRegistryEx::GetKeyNames() {
  return key_ ? key_->SubKeyNames() : std::vector<std::string>{};
}

std::int32_t TRegistryEx::SubKeyCount() {
  if (!key_) return -1;
  auto count = key_->SubKeyCount();
  return count ? static_cast<std::int32_t>(*count) : -1;
}

void TRegistryEx::TakeSnapshot() {
  constexpr std::size_t kMaxValues = 128, kMaxBytes = 64 * 1024;
  hasSnapshot_ = key_ && key_->ReadAllValues(snapshot_, kMaxValues, kMaxBytes);
  if (!hasSnapshot_) snapshot_.clear();
}

bool TRegistryEx::Query(std::string_view name, RegistryValue& out) {
  if (!key_) return false;
  if (!hasSnapshot_) return key_->QueryValue(name, out);
  // Value names compare without regard to case, as the registry compares them; the names
  // the program asks for are ASCII.
  for (const auto& [valueName, value] : snapshot_) {
    if (EqualsAsciiNoCase(valueName, name)) {
      out.type = value.type;
      out.data.assign(value.data.begin(), value.data.end());
      return true;
    }
  }
  return false;
}

bool TRegistryEx::ValueExists(std::string_view name) {
  if (hasSnapshot_) return Query(name, scratch_);
  return key_ && key_->ValueExists(name);
}

bool TRegistryEx::TryReadString(std::string_view name, std::string& out) {
  if (!Query(name, scratch_)) return false;
  if (scratch_.type != kRegSz && scratch_.type != kRegExpandSz) return false;
  out = Utf16LeBytesToUtf8(scratch_.data.data(), scratch_.data.size());
  return true;
}

bool TRegistryEx::TryReadInteger(std::string_view name, std::int32_t& out) {
  if (!Query(name, scratch_)) return false;
  if (scratch_.type != kRegDword || scratch_.data.size() != 4) return false;
  std::memcpy(&out, scratch_.data.data(), 4);
  return true;
}

std::string TRegistryEx::ReadString(std::string_view name) {
  std::string text;
  if (!TryReadString(name, text))
    throw ERegistryException("Invalid data type for '" + std::string(name) + "'");
  return text;
}

std::int32_t TRegistryEx::ReadInteger(std::string_view name) {
  std::int32_t number = 0;
  if (!TryReadInteger(name, number))
    throw ERegistryException("Invalid data type for '" + std::string(name) + "'");
  return number;
}

std::uint32_t TRegistryEx::ReadBinaryData(std::string_view name, void* buffer,
                                          std::uint32_t size) {
  // One query gives existence, type and length.
  if (!Query(name, scratch_)) return 0;
  const std::uint32_t type = scratch_.type;
  const std::uint32_t read = static_cast<std::uint32_t>(scratch_.data.size());
  if (type == kRegSz || type == kRegExpandSz || type == kRegDword || read > size)
    throw ERegistryException("Invalid data type for '" + std::string(name) + "'");
  if (read) std::memcpy(buffer, scratch_.data.data(), read);
  return read;
}

bool TRegistryEx::QueryValue(std::string_view name, RegistryValue& out) { return Query(name, out); }

bool TRegistryEx::WriteString(std::string_view name, std::string_view text) {
  DropSnapshot();
  return key_ && key_->WriteString(name, text);
}

bool TRegistryEx::DeleteValue(std::string_view name) {
  DropSnapshot();
  return key_ && key_->DeleteValue(name);
}

RegistryStatus TRegistryEx::DeleteKey(std::string_view name) {
  // Only a direct subkey: an empty name or a path would reach beyond the entry.
  if (!IsPlainKeyName(name)) return {kRegErrorInvalidName};
  if (!key_) return {kRegErrorNotFound};
  DropSnapshot();
  return key_->DeleteSubKeyTree(name);
}

std::string ReadStringDef(TRegistryEx& registry, std::string_view name, std::string_view def) {
  std::string text;
  return registry.TryReadString(name, text) ? text : std::string(def);
}

std::int32_t ReadIntegerDef(TRegistryEx& registry, std::string_view name, std::int32_t def) {
  std::int32_t number = 0;
  return registry.TryReadInteger(name, number) ? number : def;
}

}  // namespace orv
