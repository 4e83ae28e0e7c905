#pragma once
// Start-up: the host's DNS server, address, mask and gateway into the
// settings record, with a notice for each query that fails.
#include <cstdint>

#include "platform/host/host_query.h"
#include "settings/box_settings.h"

// One FIXED_INFO record: the first network-parameters buffer.
inline constexpr std::uint32_t NETWORK_PARAMS_FIRST_SIZE = 584;

void discoverHostNetwork(HostQuery& query, BoxSettingsRecord& record);

// The platform's query into BoxSettings.
void discoverHostNetwork();
