#include "platform/memory/memory_registry.h"

#include <algorithm>
#include <cstring>

#include "text/utf.h"

namespace orv {
namespace {

std::vector<std::string> SplitPath(std::string_view path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

MemoryRegistry::Node* Child(MemoryRegistry::Node& node, std::string_view name) {
  for (auto& child : node.children)
    if (EqualsAsciiNoCase(child->name, name)) return child.get();
  return nullptr;
}

RegistryValue* FindValue(MemoryRegistry::Node& node, std::string_view name) {
  for (auto& [valueName, value] : node.values)
    if (EqualsAsciiNoCase(valueName, name)) return &value;
  return nullptr;
}

// Removes the deletable part of a subtree, deepest first; true when the node itself may go.
bool PruneWritable(MemoryRegistry::Node& node) {
  auto& children = node.children;
  children.erase(std::remove_if(children.begin(), children.end(),
                                [](auto& child) { return PruneWritable(*child); }),
                 children.end());
  return node.writable && children.empty();
}

class MemoryKey : public RegistryKey {
 public:
  MemoryKey(MemoryRegistry& registry, RegistryRoot root, std::string path, KeyAccess access)
      : registry_(registry), root_(root), path_(std::move(path)), access_(access) {}

  std::unique_ptr<RegistryKey> OpenSubKey(std::string_view name, KeyAccess access) override {
    std::lock_guard<std::recursive_mutex> guard(registry_.Mutex());
    if (name.empty() || name.find('\\') != std::string_view::npos) return nullptr;
    return registry_.OpenKey(root_, path_ + "\\" + std::string(name), access);
  }

  std::vector<SubKeyEntry> SubKeys() override {
    std::lock_guard<std::recursive_mutex> guard(registry_.Mutex());
    std::vector<SubKeyEntry> keys;
    if (auto* node = registry_.Find(root_, path_))
      for (auto& child : node->children) keys.push_back({child->name, child->lastWrite});
    return keys;
  }

  std::vector<std::string> SubKeyNames() override {
    std::lock_guard<std::recursive_mutex> guard(registry_.Mutex());
    std::vector<std::string> names;
    if (auto* node = registry_.Find(root_, path_))
      for (auto& child : node->children) names.push_back(child->name);
    return names;
  }
  std::optional<std::uint32_t> SubKeyCount() override {
    std::lock_guard<std::recursive_mutex> guard(registry_.Mutex());
    auto* node = registry_.Find(root_, path_);
    if (!node) return std::nullopt;
    return static_cast<std::uint32_t>(node->children.size());
  }
  bool ValueExists(std::string_view name) override {
    std::lock_guard<std::recursive_mutex> guard(registry_.Mutex());
    auto* node = registry_.Find(root_, path_);
    return node && FindValue(*node, name);
  }
  bool QueryValue(std::string_view name, RegistryValue& out) override {
    std::lock_guard<std::recursive_mutex> guard(registry_.Mutex());
    auto* node = registry_.Find(root_, path_);
    RegistryValue* value = node ? FindValue(*node, name) : nullptr;
    if (!value) return false;
    out.type = value->type;
    out.data.assign(value->data.begin(), value->data.end());
    return true;
  }
  bool ReadAllValues(std::vector<std::pair<std::string, RegistryValue>>& out,
                     std::size_t maxValues, std::size_t maxBytes) override {
    std::lock_guard<std::recursive_mutex> guard(registry_.Mutex());
    auto* node = registry_.Find(root_, path_);
    if (!node || node->values.size() > maxValues) return false;
    for (auto& [name, value] : node->values)
      if (value.data.size() > maxBytes) return false;
    out = node->values;
    return true;
  }
  bool WriteString(std::string_view name, std::string_view text) override {
    std::lock_guard<std::recursive_mutex> guard(registry_.Mutex());
    auto* node = Writable(name);
    if (!node) return false;
    registry_.SetString(root_, path_, name, text);
    return true;
  }
  bool DeleteValue(std::string_view name) override {
    std::lock_guard<std::recursive_mutex> guard(registry_.Mutex());
    auto* node = Writable(name);
    if (!node) return false;
    auto it = std::find_if(node->values.begin(), node->values.end(),
                           [&](auto& v) { return EqualsAsciiNoCase(v.first, name); });
    if (it == node->values.end()) {
      lastError_ = kRegErrorNotFound;
      return false;
    }
    node->values.erase(it);
    registry_.Touch(*node);
    return true;
  }
  std::uint32_t LastError() const override { return lastError_; }
  RegistryStatus DeleteSubKeyTree(std::string_view name) override {
    std::lock_guard<std::recursive_mutex> guard(registry_.Mutex());
    // Like the system: the parent's handle needs no write access, each deleted key must allow it.
    if (!IsPlainKeyName(name)) return {kRegErrorInvalidName};
    auto* parent = registry_.Find(root_, path_);
    auto* node = parent ? Child(*parent, name) : nullptr;
    if (!node) return {kRegErrorNotFound};
    if (!PruneWritable(*node)) return {kRegErrorAccessDenied};
    registry_.RemoveKey(root_, path_ + "\\" + std::string(name));
    return {};
  }

 private:
  MemoryRegistry::Node* Writable(std::string_view valueName) {
    auto* node = registry_.Find(root_, path_);
    if (!node) {
      lastError_ = kRegErrorNotFound;  // the key was deleted while open
      return nullptr;
    }
    bool refused = access_ != KeyAccess::ReadWrite || !node->writable;
    for (const auto& name : node->refusedValues)
      refused = refused || EqualsAsciiNoCase(name, valueName);
    if (refused) {
      lastError_ = kRegErrorAccessDenied;
      return nullptr;
    }
    return node;
  }

  MemoryRegistry& registry_;
  RegistryRoot root_;
  std::string path_;
  KeyAccess access_;
  std::uint32_t lastError_ = 0;
};

}  // namespace

RegistryValue MakeStringValue(std::string_view text, std::uint32_t type) {
  RegistryValue value;
  value.type = type;
  std::u16string wide = Utf8ToUtf16(text);
  for (char16_t c : wide) {
    value.data.push_back(static_cast<unsigned char>(c & 0xFF));
    value.data.push_back(static_cast<unsigned char>(c >> 8));
  }
  value.data.push_back(0);
  value.data.push_back(0);
  return value;
}

MemoryRegistry::MemoryRegistry() = default;

MemoryRegistry::Node* MemoryRegistry::Find(RegistryRoot root, std::string_view path) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  Node* node = &roots_[static_cast<int>(root)];
  for (const auto& part : SplitPath(path)) {
    node = Child(*node, part);
    if (!node) return nullptr;
  }
  return node;
}

std::unique_ptr<RegistryKey> MemoryRegistry::OpenKey(RegistryRoot root, std::string_view path,
                                                     KeyAccess access) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  Node* node = Find(root, path);
  if (!node) {
    lastOpenError_ = kRegErrorNotFound;
    return nullptr;
  }
  if (access == KeyAccess::ReadWrite && !node->writable) {
    lastOpenError_ = kRegErrorAccessDenied;
    return nullptr;
  }
  return std::make_unique<MemoryKey>(*this, root, std::string(path), access);
}

MemoryRegistry::Node& MemoryRegistry::CreateKey(RegistryRoot root, std::string_view path) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  Node* node = &roots_[static_cast<int>(root)];
  for (const auto& part : SplitPath(path)) {
    Node* next = Child(*node, part);
    if (!next) {
      node->children.push_back(std::make_unique<Node>());
      next = node->children.back().get();
      next->name = part;
      Touch(*node);
      Touch(*next);
    }
    node = next;
  }
  return *node;
}

void MemoryRegistry::SetValue(RegistryRoot root, std::string_view path, std::string_view name,
                              RegistryValue value) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  Node& node = CreateKey(root, path);
  Touch(node);
  if (RegistryValue* existing = FindValue(node, name)) {
    *existing = std::move(value);
    return;
  }
  node.values.emplace_back(std::string(name), std::move(value));
}

void MemoryRegistry::SetString(RegistryRoot root, std::string_view path, std::string_view name,
                               std::string_view text, std::uint32_t type) {
  SetValue(root, path, name, MakeStringValue(text, type));
}

void MemoryRegistry::SetDword(RegistryRoot root, std::string_view path, std::string_view name,
                              std::uint32_t number) {
  RegistryValue value;
  value.type = kRegDword;
  value.data.resize(4);
  std::memcpy(value.data.data(), &number, 4);
  SetValue(root, path, name, std::move(value));
}

void MemoryRegistry::SetBinary(RegistryRoot root, std::string_view path, std::string_view name,
                               std::vector<unsigned char> bytes, std::uint32_t type) {
  SetValue(root, path, name, RegistryValue{type, std::move(bytes)});
}

bool MemoryRegistry::RemoveKey(RegistryRoot root, std::string_view path) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  auto parts = SplitPath(path);
  if (parts.empty()) return false;
  std::string leaf = parts.back();
  parts.pop_back();
  Node* parent = &roots_[static_cast<int>(root)];
  for (const auto& part : parts) {
    parent = Child(*parent, part);
    if (!parent) return false;
  }
  auto it = std::find_if(parent->children.begin(), parent->children.end(),
                         [&](auto& c) { return EqualsAsciiNoCase(c->name, leaf); });
  if (it == parent->children.end()) return false;
  parent->children.erase(it);
  Touch(*parent);
  return true;
}

bool MemoryRegistry::SetLastWrite(RegistryRoot root, std::string_view path, std::uint64_t time) {
  std::lock_guard<std::recursive_mutex> guard(mutex_);
  Node* node = Find(root, path);
  if (!node) return false;
  node->lastWrite = time;
  return true;
}

}  // namespace orv
