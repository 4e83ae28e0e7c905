#include "settings/host_discovery.h"

#include <cstring>

#include "settings/notice.h"

namespace {

void discoverDnsServer(HostQuery& query, BoxSettingsRecord& record) {
  std::uint32_t size = NETWORK_PARAMS_FIRST_SIZE;
  HostQueryBuffer buffer = query.obtainBuffer(size);
  std::uint32_t result = query.outOfMemoryCode();
  if (buffer) {
    if (query.networkParams(buffer.get(), size) == HOST_QUERY_BUFFER_TOO_SMALL) {
      buffer.reset();
      buffer = query.obtainBuffer(size);
    }
    // Made in every case, also after a first success; only this one counts.
    if (buffer) result = query.networkParams(buffer.get(), size);
  }
  if (result != HOST_QUERY_OK) {
    showNotice("Call to GetNetworkParams failed. Return Value: %08x %s\n", static_cast<unsigned>(result),
               std::strerror(static_cast<int>(result)));
    return;
  }
  copyToField(record.dns, query.firstDnsServer(buffer.get()));
}

void discoverLastAdapter(HostQuery& query, BoxSettingsRecord& record) {
  std::uint32_t size = 0;
  HostQueryBuffer buffer;
  std::uint32_t result = query.adaptersInfo(nullptr, size);
  if (result == HOST_QUERY_BUFFER_TOO_SMALL) {
    buffer = query.obtainBuffer(size);
    result = buffer ? query.adaptersInfo(buffer.get(), size) : query.outOfMemoryCode();
  }
  if (result != HOST_QUERY_OK) {
    showNotice("Call to GetAdaptersInfo failed.");
    return;
  }
  if (!buffer) return;  // a success with nothing to list
  // Every adapter writes all three fields: the last one listed remains.
  for (const HostAdapterEntry* entry = query.firstAdapter(buffer.get()); entry; entry = query.nextAdapter(entry)) {
    const HostAdapterTexts texts = query.adapterTexts(entry);
    copyToField(record.hostIp, texts.address);
    copyToField(record.mask, texts.mask);
    copyToField(record.gateway, texts.gateway);
  }
}

}  // namespace

void discoverHostNetwork(HostQuery& query, BoxSettingsRecord& record) {
  discoverDnsServer(query, record);
  discoverLastAdapter(query, record);
}

void discoverHostNetwork() { discoverHostNetwork(systemHostQuery(), BoxSettings); }
