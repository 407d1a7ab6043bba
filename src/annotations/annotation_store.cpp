#include "annotations/annotation_store.h"

#include <cstring>

#include "text/utf.h"

namespace orv {
namespace {

// Keys the ANSI code page cannot hold are kept as UTF-8 behind this mark. No key in code page
// 932 starts with it (0xEF 0xBB is unassigned there), and a reader that does not know it only
// misses that record, as it would have missed the key in any other form.
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

void PutInt32(std::string& out, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((u >> shift) & 0xFF));
}

std::int32_t GetInt32(const char* p) {
  std::uint32_t u = 0;
  for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(p[i]);
  return static_cast<std::int32_t>(u);
}

std::string EncodeKey(const std::string& key, SystemServices& system) {
  if (std::optional<std::string> ansi = system.ToAnsiExact(key)) return *ansi;
  return std::string(kUtf8Mark) + key;
}

std::string DecodeKey(std::string_view bytes, SystemServices& system) {
  if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
    bytes.remove_prefix(kUtf8Mark.size());
    // Whatever the file holds becomes text a key name can be: valid UTF-8, except that an
    // unpaired surrogate of a key name keeps the form the scan gave it, so the record still
    // finds its entry.
    return KeyNameToUtf8(Utf8ToUtf16(bytes));
  }
  return system.FromAnsi(bytes);
}

}  // namespace

void TProgramExtInfoList::Clear() {
  items_.clear();
  index_.clear();
  indexed_ = 0;
}

void TProgramExtInfoList::AddProgram(const TProgram& program) {
  TProgramExtInfo info;
  info.Key = MakeKey(program);
  info.TagIndex = program.TagIndex;
  info.ChangeAllowed = program.ChangeAllowed;
  info.IsNew = program.IsNew;
  items_.push_back(std::move(info));
}

void TProgramExtInfoList::AddInfo(const TProgramExtInfo& info) {
  TProgramExtInfo copy;
  copy.Assign(info);
  items_.push_back(std::move(copy));
}

int TProgramExtInfoList::IndexOfKey(std::string_view key) const {
  // Later records overwrite earlier ones, so a duplicate key finds the last.
  for (; indexed_ < items_.size(); ++indexed_)
    index_[AsciiUpper(items_[indexed_].Key)] = static_cast<int>(indexed_);
  auto it = index_.find(AsciiUpper(key));
  return it == index_.end() ? -1 : it->second;
}

void TProgramExtInfoList::LoadFromBytes(std::string_view bytes, SystemServices& system) {
  Clear();
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t left = bytes.size() - pos;
    if (left < 4) break;  // not even a length: the tag index cannot follow
    const std::int32_t n = GetInt32(bytes.data() + pos);
    pos += 4;
    if (n < 0 || static_cast<std::size_t>(n) > bytes.size() - pos) break;
    std::string_view key = bytes.substr(pos, static_cast<std::size_t>(n));
    pos += static_cast<std::size_t>(n);
    if (bytes.size() - pos < 5) break;  // the record ends inside its tag index or flag
    TProgramExtInfo info;
    info.Key = DecodeKey(key, system);
    const std::int32_t tag = GetInt32(bytes.data() + pos);
    // Only -1 to 4 name a tag; anything else is no tag, and is saved back as such.
    info.TagIndex = tag >= -1 && tag <= 4 ? tag : -1;
    info.ChangeAllowed = bytes[pos + 4] != 0;
    info.IsNew = false;
    pos += 5;
    AddInfo(info);
  }
}

std::string TProgramExtInfoList::SaveToBytes(SystemServices& system) const {
  std::string out;
  for (const TProgramExtInfo& info : items_) {
    const std::string key = EncodeKey(info.Key, system);
    PutInt32(out, static_cast<std::int32_t>(key.size()));
    out += key;
    PutInt32(out, info.TagIndex);
    out.push_back(info.ChangeAllowed ? '\x01' : '\x00');
  }
  return out;
}

void TProgramExtInfoList::LoadFromFile(const std::string& path, SystemServices& system) {
  Clear();
  if (std::optional<std::string> bytes = system.ReadWholeFile(path)) LoadFromBytes(*bytes, system);
}

std::string TProgramExtInfoList::SaveToFile(const std::string& path, SystemServices& system) const {
  return system.ReplaceWholeFile(path, SaveToBytes(system));
}

void RebuildFromPrograms(TProgramExtInfoList& store, const ProgramList& programs) {
  store.Clear();
  for (const TProgram& program : programs) store.AddProgram(program);
}

void MergeFromPrograms(TProgramExtInfoList& store, const ProgramList& programs) {
  for (const TProgram& program : programs) {
    const int found = store.IndexOfProgram(program);
    if (found < 0) {
      store.AddProgram(program);
      continue;
    }
    TProgramExtInfo& info = store.Items(found);
    info.TagIndex = program.TagIndex;
    info.ChangeAllowed = program.ChangeAllowed;
    info.IsNew = program.IsNew;
  }
}

void StoreAnnotator::operator()(TProgram& program) {
  int found = store_.IndexOfProgram(program);
  if (program.RootKey == RegistryRoot::LocalMachine) {
    machine64Names_.insert(AsciiUpper(program.KeyName));
  } else if (found < 0 && program.RootKey == RegistryRoot::LocalMachine32 &&
             !machine64Names_.count(AsciiUpper(program.KeyName))) {
    found = store_.IndexOfKey(ProgramIdentityKey(RegistryRoot::LocalMachine, program.KeyName));
  }
  if (found < 0) {
    program.TagIndex = -1;
    program.ChangeAllowed = true;
    program.IsNew = true;
    return;
  }
  const TProgramExtInfo& info = store_.Items(found);
  program.TagIndex = info.TagIndex;
  program.ChangeAllowed = info.ChangeAllowed;
  program.IsNew = info.IsNew;
}

}  // namespace orv
