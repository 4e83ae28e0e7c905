#pragma once
// Which of the kernel's interfaces count as adapters, and in what order.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/host_records.h"

struct InterfaceInfo {
  unsigned index = 0;
  std::string name;
  bool loopback = false;
  bool up = false;  // administratively (IFF_UP); the carrier does not matter
  // The interface's first IPv4 address (top byte first) and its prefix.
  std::optional<std::uint32_t> firstAddress;
  unsigned prefixLength = 0;
};

// The adapters in the kernel's interface order (ascending index): every
// interface that is not loopback, is up and has an IPv4 address, with that
// address, its mask and the interface's default gateway ("" when it has
// none). An up interface without carrier stays in, as a disconnected card
// stays in GetAdaptersInfo; an interface set down is left out, as a disabled
// card is; so is one without IPv4, which has nothing to offer the form.
std::vector<HostAdapter> adaptersInKernelOrder(std::vector<InterfaceInfo> interfaces,
                                               const std::map<std::string, std::string>& gatewayByInterface);
