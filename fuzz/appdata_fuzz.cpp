// The "appdata" loader: any bytes load, and what was loaded saves and loads again unchanged.
#include <cstdlib>
#include <string_view>

#include "annotations/annotation_store.h"
#include "platform/memory/memory_system.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  orv::MemorySystem system;
  orv::TProgramExtInfoList store;
  store.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size), system);
  const std::string saved = store.SaveToBytes(system);
  orv::TProgramExtInfoList again;
  again.LoadFromBytes(saved, system);
  if (again.SaveToBytes(system) != saved) std::abort();
  return 0;
}
