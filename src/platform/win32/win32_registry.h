#pragma once
#include "platform/registry.h"

namespace orv {

class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                       KeyAccess access) override;
  std::uint32_t LastOpenError() const override;
  std::uint64_t Now() override;
};

}  // namespace orv
