// The /proc/net/route reader on any text, read in both byte orders.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/host/host_config_parse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const std::endian order : {std::endian::little, std::endian::big}) {
    for (const auto& [name, gateway] : defaultGatewaysByInterface(text, order)) {
      FUZZ_CHECK(!name.empty());
      FUZZ_CHECK(text.find(name) != std::string_view::npos);
      FUZZ_CHECK(isDottedQuad(gateway));
      FUZZ_CHECK(gateway != "0.0.0.0");
    }
  }
  return 0;
}
