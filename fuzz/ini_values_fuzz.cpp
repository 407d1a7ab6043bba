// The settings file's value forms: any stored text reads as a number, a flag or the default.
#include <string>

#include "platform/ini_codec.h"
#include "platform/memory/memory_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::optional<std::int32_t> parsed = orv::ParseIniInteger(text);
  // A number that parses is written back in a form that parses to the same number.
  if (parsed && orv::ParseIniInteger(std::to_string(*parsed)) != parsed) std::abort();
  orv::MemoryIni profile;
  profile.WriteString("Option", "Value", text);
  orv::IniCodec codec(profile);
  const std::int32_t number = codec.ReadInteger("Option", "Value", 7);
  if (!parsed && number != 7) std::abort();
  (void)codec.ReadBool("Option", "Value", true);
  (void)codec.ReadString("Option", "Value", "");
  return 0;
}
