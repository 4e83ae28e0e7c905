#pragma once
// The records that the non-Windows host queries write into the caller's
// buffer: the same shapes as IP Helper's (a DNS text; a chain of adapters
// linked by next), with the same size handshake.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/host/host_query.h"

// Room for a dotted quad and its terminator, as IP_ADDRESS_STRING.
inline constexpr std::size_t HOST_TEXT_SIZE = 16;

struct HostAdapter {
  std::string address;
  std::string mask;
  std::string gateway;
  bool operator==(const HostAdapter&) const = default;
};

struct PackedNetworkParams {
  char firstDnsServer[HOST_TEXT_SIZE];
};

struct PackedAdapter {
  const PackedAdapter* next;
  char address[HOST_TEXT_SIZE];
  char mask[HOST_TEXT_SIZE];
  char gateway[HOST_TEXT_SIZE];
};

// Writes one PackedNetworkParams into buffer when size allows: HOST_QUERY_OK;
// else the size needed into size and HOST_QUERY_BUFFER_TOO_SMALL. Buffers come
// from HostQuery::obtainBuffer (aligned for any record). Texts too long for a
// field are cut.
std::uint32_t packNetworkParams(const std::string& dnsServer, std::byte* buffer, std::uint32_t& size);
// The adapters as a chain in list order, with the same handshake; an empty
// list answers noAdapterCode (a host without adapters is a failure).
std::uint32_t packAdapters(const std::vector<HostAdapter>& adapters, std::byte* buffer, std::uint32_t& size,
                           std::uint32_t noAdapterCode);

const char* packedDnsServer(const std::byte* buffer);
const HostAdapterEntry* packedFirstAdapter(const std::byte* buffer);
const HostAdapterEntry* packedNextAdapter(const HostAdapterEntry* entry);
HostAdapterTexts packedAdapterTexts(const HostAdapterEntry* entry);
