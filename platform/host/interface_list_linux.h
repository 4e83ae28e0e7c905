#pragma once
// The kernel's interfaces with their first IPv4 address, over rtnetlink.
#include <vector>

#include "platform/host/adapter_list.h"

// 0 and the list, or an errno.
int listKernelInterfaces(std::vector<InterfaceInfo>& interfaces);
