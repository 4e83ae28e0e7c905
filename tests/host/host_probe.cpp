// Prints what the system host query answers and what start-up discovery
// makes of it, one fact a line, for the namespace tests to compare.
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/host/host_query.h"
#include "settings/box_settings.h"
#include "settings/host_discovery.h"
#include "settings/notice.h"

namespace {

class PrintingSink : public NoticeSink {
 public:
  void showOwnerlessMessage(const std::string& text, const std::string& caption) override {
    std::string escaped;
    for (char c : text) escaped += c == '\n' ? std::string("\\n") : std::string(1, c);
    std::printf("notice %s|%s\n", caption.c_str(), escaped.c_str());
  }
};

void printAnswers(HostQuery& query) {
  std::uint32_t size = NETWORK_PARAMS_FIRST_SIZE;
  HostQueryBuffer params = query.obtainBuffer(size);
  const std::uint32_t dnsCode = query.networkParams(params.get(), size);
  std::printf("dns-code %u\n", static_cast<unsigned>(dnsCode));
  if (dnsCode == HOST_QUERY_OK) std::printf("dns %s\n", query.firstDnsServer(params.get()));

  size = 0;
  std::uint32_t code = query.adaptersInfo(nullptr, size);
  HostQueryBuffer adapters;
  if (code == HOST_QUERY_BUFFER_TOO_SMALL) {
    adapters = query.obtainBuffer(size);
    code = query.adaptersInfo(adapters.get(), size);
  }
  std::printf("adapters-code %u\n", static_cast<unsigned>(code));
  if (code != HOST_QUERY_OK || !adapters) return;
  for (const HostAdapterEntry* e = query.firstAdapter(adapters.get()); e; e = query.nextAdapter(e)) {
    const HostAdapterTexts t = query.adapterTexts(e);
    std::printf("adapter %s|%s|%s\n", t.address, t.mask, t.gateway);
  }
}

}  // namespace

int main() {
  printAnswers(systemHostQuery());
  PrintingSink sink;
  setNoticeSink(&sink);
  discoverHostNetwork();
  std::printf("fields %s|%s|%s|%s\n", BoxSettings.hostIp, BoxSettings.mask, BoxSettings.gateway, BoxSettings.dns);
  return 0;
}
