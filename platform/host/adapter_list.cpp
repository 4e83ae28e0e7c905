#include "platform/host/adapter_list.h"

#include <algorithm>

#include "platform/host/host_config_parse.h"

std::vector<HostAdapter> adaptersInKernelOrder(std::vector<InterfaceInfo> interfaces,
                                               const std::map<std::string, std::string>& gatewayByInterface) {
  std::stable_sort(interfaces.begin(), interfaces.end(),
                   [](const InterfaceInfo& a, const InterfaceInfo& b) { return a.index < b.index; });
  std::vector<HostAdapter> adapters;
  for (const InterfaceInfo& link : interfaces) {
    if (link.loopback || !link.up || !link.firstAddress) continue;
    const auto gateway = gatewayByInterface.find(link.name);
    adapters.push_back({ipv4Text(*link.firstAddress), prefixMaskText(link.prefixLength),
                        gateway == gatewayByInterface.end() ? std::string() : gateway->second});
  }
  return adapters;
}
