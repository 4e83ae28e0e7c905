#pragma once
// The host query on Linux: adapters from rtnetlink and the IPv4 route table,
// the DNS server from the resolver's configuration. Failures answer an errno.
#include <string>

#include "platform/host/host_query.h"

struct HostConfigPaths {
  std::string resolvConf = "/etc/resolv.conf";
  // systemd-resolved's upstream servers, read when resolv.conf names its stub.
  std::string resolvedUpstream = "/run/systemd/resolve/resolv.conf";
  std::string routeTable = "/proc/net/route";
};

class LinuxHostQuery final : public HostQuery {
 public:
  explicit LinuxHostQuery(HostConfigPaths paths = {});

  std::uint32_t networkParams(std::byte* buffer, std::uint32_t& size) override;
  const char* firstDnsServer(const std::byte* buffer) const override;
  std::uint32_t adaptersInfo(std::byte* buffer, std::uint32_t& size) override;
  const HostAdapterEntry* firstAdapter(const std::byte* buffer) const override;
  const HostAdapterEntry* nextAdapter(const HostAdapterEntry* entry) const override;
  HostAdapterTexts adapterTexts(const HostAdapterEntry* entry) const override;
  std::uint32_t outOfMemoryCode() const override;

 private:
  int readDnsServer(std::string& server) const;

  HostConfigPaths paths_;
};
