// The resolver configuration reader on any text.
#include <arpa/inet.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/host/host_config_parse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string server = firstIpv4Nameserver(text);
  if (server.empty()) return 0;
  // Only an address that the system itself would take, found in the text.
  FUZZ_CHECK(isDottedQuad(server));
  in_addr address{};
  FUZZ_CHECK(inet_pton(AF_INET, server.c_str(), &address) == 1);
  FUZZ_CHECK(text.find(server) != std::string_view::npos);
  return 0;
}
