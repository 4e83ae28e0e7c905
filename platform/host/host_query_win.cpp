// The host query on Windows: IP Helper's own calls and records.
#include <winsock2.h>
#include <iphlpapi.h>
#include <windows.h>

#include "platform/host/host_query.h"

// The opaque adapter entry is IP Helper's record.
struct HostAdapterEntry : IP_ADAPTER_INFO {};

namespace {

const IP_ADAPTER_INFO* record(const HostAdapterEntry* entry) { return entry; }

const HostAdapterEntry* entryOf(const IP_ADAPTER_INFO* info) { return static_cast<const HostAdapterEntry*>(info); }

class WinHostQuery final : public HostQuery {
 public:
  std::uint32_t networkParams(std::byte* buffer, std::uint32_t& size) override {
    ULONG length = size;
    const DWORD r = GetNetworkParams(reinterpret_cast<FIXED_INFO*>(buffer), &length);
    size = length;
    return r;
  }

  const char* firstDnsServer(const std::byte* buffer) const override {
    return reinterpret_cast<const FIXED_INFO*>(buffer)->DnsServerList.IpAddress.String;
  }

  std::uint32_t adaptersInfo(std::byte* buffer, std::uint32_t& size) override {
    ULONG length = size;
    const DWORD r = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer), &length);
    size = length;
    return r;
  }

  const HostAdapterEntry* firstAdapter(const std::byte* buffer) const override {
    return entryOf(reinterpret_cast<const IP_ADAPTER_INFO*>(buffer));
  }

  const HostAdapterEntry* nextAdapter(const HostAdapterEntry* entry) const override {
    return entryOf(record(entry)->Next);
  }

  HostAdapterTexts adapterTexts(const HostAdapterEntry* entry) const override {
    const IP_ADAPTER_INFO* info = record(entry);
    return {info->IpAddressList.IpAddress.String, info->IpAddressList.IpMask.String,
            info->GatewayList.IpAddress.String};
  }

  std::uint32_t outOfMemoryCode() const override { return ERROR_NOT_ENOUGH_MEMORY; }
};

}  // namespace

HostQuery& systemHostQuery() {
  static WinHostQuery query;
  return query;
}
