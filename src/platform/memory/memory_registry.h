// An in-memory registry for host tests: keys keep their creation order, names fold ASCII case.
#pragma once
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace orv {

class MemoryRegistry : public Registry {
 public:
  struct Node {
    std::string name;
    std::vector<std::unique_ptr<Node>> children;
    std::vector<std::pair<std::string, RegistryValue>> values;
    bool writable = true;
    // Values whose writes and deletes the key refuses, as a registry denying them would.
    std::vector<std::string> refusedValues;
    std::uint64_t lastWrite = 0;
  };

  MemoryRegistry();
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                       KeyAccess access) override;
  // A clock that moves only when told to or when a key is written: every change to a key
  // (a value set or deleted, a subkey added or removed) stamps it with the next tick.
  std::uint64_t Now() override {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    return clock_;
  }
  void AdvanceClock(std::uint64_t ticks) {
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    clock_ += ticks;
  }
  // Stamps a key as the system would after a write at `time`; false when it is missing.
  bool SetLastWrite(RegistryRoot root, std::string_view path, std::uint64_t time);
  // Called for every change the registry's own writers make.
  void Touch(Node& node) { node.lastWrite = ++clock_; }

  // Fixture helpers: create keys and values as needed.
  Node& CreateKey(RegistryRoot root, std::string_view path);
  void SetValue(RegistryRoot root, std::string_view path, std::string_view name,
                RegistryValue value);
  void SetString(RegistryRoot root, std::string_view path, std::string_view name,
                 std::string_view text, std::uint32_t type = kRegSz);
  void SetDword(RegistryRoot root, std::string_view path, std::string_view name,
                std::uint32_t number);
  void SetBinary(RegistryRoot root, std::string_view path, std::string_view name,
                 std::vector<unsigned char> bytes, std::uint32_t type = kRegBinary);
  bool RemoveKey(RegistryRoot root, std::string_view path);
  Node* Find(RegistryRoot root, std::string_view path);
  std::uint32_t LastOpenError() const override { return lastOpenError_; }
  // The scan reads on several threads, and a test may change keys meanwhile, as the real
  // registry allows: every operation holds this.
  std::recursive_mutex& Mutex() const { return mutex_; }

 private:
  mutable std::recursive_mutex mutex_;
  Node roots_[3];
  std::uint32_t lastOpenError_ = 0;
  std::uint64_t clock_ = 133'000'000'000'000'000ull;  // a file time in late 2022
};

RegistryValue MakeStringValue(std::string_view text, std::uint32_t type = kRegSz);

}  // namespace orv
