// "RegistryLocation" and the installer records read through it. The input is
//   [entry view] [patch hive] location text NUL product key name NUL records...
// and each record puts one value into an in-memory registry:
//   [kind] [view] [name length] name [value index] [type] [data length] data
// kind even: a subkey of the location's "Filelist" key; odd: a patch subkey of the product.
// A type byte below 0x80 stores data as a string, otherwise as raw bytes of type (byte % 12).
// The readers must agree with a plain walk of the same keys, and never fail.
#include <cstdlib>
#include <string>
#include <string_view>

#include "dialogs/installer_records.h"
#include "dialogs/packed_guid.h"
#include "platform/memory/memory_registry.h"
#include "text/utf.h"

namespace {

using orv::RegistryRoot;

const char* const kFileValues[] = {"FileName", "Location", "Version", "BuildDate", "Other"};
const char* const kPatchValues[] = {"DisplayName", "Installed", "MoreInfoURL", "Uninstallable",
                                    "Other"};

class Input {
 public:
  Input(const unsigned char* data, size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  unsigned char Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::string Bytes(size_t length) {
    if (length > size_ - at_) length = size_ - at_;
    std::string out(reinterpret_cast<const char*>(data_ + at_), length);
    at_ += length;
    return out;
  }
  std::string UpToNul() {
    std::string out;
    while (at_ < size_ && data_[at_] != 0) out += static_cast<char>(data_[at_++]);
    if (at_ < size_) ++at_;
    return out;
  }

 private:
  const unsigned char* data_;
  size_t size_;
  size_t at_ = 0;
};

RegistryRoot RootOf(unsigned char byte) { return orv::kAllRegistryRoots[byte % 3]; }

const orv::RegistryValue* FindValue(const orv::MemoryRegistry::Node& node, std::string_view name) {
  for (const auto& [valueName, value] : node.values)
    if (orv::EqualsAsciiNoCase(valueName, name)) return &value;
  return nullptr;
}

// What a tolerant string read must give: the text of a string value, "" for anything else.
std::string TextOf(const orv::MemoryRegistry::Node& node, std::string_view name) {
  const orv::RegistryValue* value = FindValue(node, name);
  if (!value || (value->type != orv::kRegSz && value->type != orv::kRegExpandSz)) return "";
  return orv::Utf16LeBytesToUtf8(value->data.data(), value->data.size());
}

void CheckLocation(const std::string& text, RegistryRoot entryRoot) {
  auto location = orv::ParseRegistryLocation(text, entryRoot);
  const size_t slash = text.find('\\');
  const std::string root = orv::AsciiUpper(text.substr(0, slash == std::string::npos ? 0 : slash));
  const bool user = root == "HKCU" || root == "HKEY_CURRENT_USER";
  const bool machine = root == "HKLM" || root == "HKEY_LOCAL_MACHINE";
  const bool named = slash != std::string::npos && slash + 1 < text.size();
  if (location.has_value() != ((user || machine) && named)) std::abort();
  if (!location) return;
  if (location->path.empty() || location->path != text.substr(slash + 1)) std::abort();
  const RegistryRoot expected = user ? RegistryRoot::CurrentUser
                                : entryRoot == RegistryRoot::LocalMachine32
                                    ? RegistryRoot::LocalMachine32
                                    : RegistryRoot::LocalMachine;
  if (location->root != expected) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  Input input(data, size);
  orv::TProgram program;
  program.RootKey = RootOf(input.Byte());
  const RegistryRoot hive = RootOf(input.Byte());
  program.RegistryLocation = input.UpToNul();
  program.KeyName = input.UpToNul();

  for (RegistryRoot entryRoot : orv::kAllRegistryRoots)
    CheckLocation(program.RegistryLocation, entryRoot);

  auto location = orv::ParseRegistryLocation(program.RegistryLocation, program.RootKey);
  const std::string fileList = location ? location->path + "\\Filelist" : "Unparsed\\Filelist";
  const std::string packedProduct = orv::GuidToPackedGuid(program.KeyName);
  const std::string patchList = std::string(orv::kInstallerProductsKey) +
                                (packedProduct.empty() ? "NotAProduct" : packedProduct) +
                                "\\Patches";

  orv::MemoryRegistry registry;
  while (!input.Empty()) {
    const bool patch = input.Byte() & 1;
    const RegistryRoot root = RootOf(input.Byte());
    const std::string name = input.Bytes(input.Byte() % 48);
    const unsigned char valueIndex = input.Byte() % 5;
    const unsigned char type = input.Byte();
    const std::string bytes = input.Bytes(input.Byte());
    const std::string key = (patch ? patchList : fileList) + "\\" + name;
    const char* valueName = patch ? kPatchValues[valueIndex] : kFileValues[valueIndex];
    if (type < 0x80)
      registry.SetString(root, key, valueName, bytes, type & 1 ? orv::kRegExpandSz : orv::kRegSz);
    else
      registry.SetValue(root, key, valueName,
                        {static_cast<std::uint32_t>(type % 12),
                         std::vector<unsigned char>(bytes.begin(), bytes.end())});
  }

  // The file list: every subkey with a "FileName", in order, each read as a tolerant string.
  const std::vector<orv::RecordedFile> files = orv::LoadFileList(registry, program);
  size_t expectedFiles = 0;
  if (const auto* list = location ? registry.Find(location->root, fileList) : nullptr) {
    for (const auto& child : list->children) {
      if (!FindValue(*child, "FileName")) continue;
      if (expectedFiles >= files.size()) std::abort();
      const orv::RecordedFile& file = files[expectedFiles++];
      if (file.fileName != TextOf(*child, "FileName") ||
          file.location != TextOf(*child, "Location") ||
          file.version != TextOf(*child, "Version") ||
          file.buildDate != TextOf(*child, "BuildDate"))
        std::abort();
    }
  }
  if (files.size() != expectedFiles) std::abort();

  // The patches: read from the 64-bit view for either machine view; the code is the subkey's
  // name unpacked, and only a coded, uninstallable patch has a command.
  const std::vector<orv::PatchRecord> patches = orv::LoadPatches(registry, hive, program.KeyName);
  const RegistryRoot view =
      hive == RegistryRoot::CurrentUser ? RegistryRoot::CurrentUser : RegistryRoot::LocalMachine;
  size_t expectedPatches = 0;
  if (const auto* list = packedProduct.empty() ? nullptr : registry.Find(view, patchList)) {
    for (const auto& child : list->children) {
      if (!FindValue(*child, "DisplayName")) continue;
      if (expectedPatches >= patches.size()) std::abort();
      const orv::PatchRecord& record = patches[expectedPatches++];
      if (record.displayName != TextOf(*child, "DisplayName") ||
          record.installed != TextOf(*child, "Installed") ||
          record.moreInfoUrl != TextOf(*child, "MoreInfoURL"))
        std::abort();
      const orv::RegistryValue* flag = FindValue(*child, "Uninstallable");
      const bool uninstallable = flag && flag->type == orv::kRegDword && flag->data.size() == 4 &&
                                 (flag->data[0] | flag->data[1] | flag->data[2] | flag->data[3]);
      if (record.uninstallable != uninstallable) std::abort();
      if (record.patchCode != orv::PackedGuidToGuid(child->name)) std::abort();
      if (!record.patchCode.empty() && orv::GuidToPackedGuid(record.patchCode) != child->name)
        std::abort();
      if (record.uninstallCommand !=
          (record.uninstallable && !record.patchCode.empty() ? "MsiExec.exe /X" + record.patchCode
                                                             : ""))
        std::abort();
    }
  }
  if (patches.size() != expectedPatches) std::abort();
  return 0;
}
