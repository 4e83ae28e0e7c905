#include "platform/host/host_records.h"

#include <cstring>
#include <new>

namespace {

void copyText(char (&field)[HOST_TEXT_SIZE], const std::string& text) {
  const std::size_t n = text.size() < HOST_TEXT_SIZE - 1 ? text.size() : HOST_TEXT_SIZE - 1;
  std::memcpy(field, text.data(), n);
  field[n] = '\0';
}

bool fits(const std::byte* buffer, std::uint32_t size, std::size_t needed) {
  return buffer != nullptr && size >= needed;
}

const PackedAdapter* asPacked(const HostAdapterEntry* entry) {
  return reinterpret_cast<const PackedAdapter*>(entry);
}

}  // namespace

std::uint32_t packNetworkParams(const std::string& dnsServer, std::byte* buffer, std::uint32_t& size) {
  if (!fits(buffer, size, sizeof(PackedNetworkParams))) {
    size = sizeof(PackedNetworkParams);
    return HOST_QUERY_BUFFER_TOO_SMALL;
  }
  auto* record = new (buffer) PackedNetworkParams{};
  copyText(record->firstDnsServer, dnsServer);
  return HOST_QUERY_OK;
}

std::uint32_t packAdapters(const std::vector<HostAdapter>& adapters, std::byte* buffer, std::uint32_t& size,
                           std::uint32_t noAdapterCode) {
  if (adapters.empty()) return noAdapterCode;
  const std::size_t needed = adapters.size() * sizeof(PackedAdapter);
  if (!fits(buffer, size, needed)) {
    size = static_cast<std::uint32_t>(needed);
    return HOST_QUERY_BUFFER_TOO_SMALL;
  }
  PackedAdapter* previous = nullptr;
  for (std::size_t i = 0; i < adapters.size(); ++i) {
    auto* record = new (buffer + i * sizeof(PackedAdapter)) PackedAdapter{};
    copyText(record->address, adapters[i].address);
    copyText(record->mask, adapters[i].mask);
    copyText(record->gateway, adapters[i].gateway);
    if (previous) previous->next = record;
    previous = record;
  }
  return HOST_QUERY_OK;
}

const char* packedDnsServer(const std::byte* buffer) {
  return std::launder(reinterpret_cast<const PackedNetworkParams*>(buffer))->firstDnsServer;
}

const HostAdapterEntry* packedFirstAdapter(const std::byte* buffer) {
  return reinterpret_cast<const HostAdapterEntry*>(std::launder(reinterpret_cast<const PackedAdapter*>(buffer)));
}

const HostAdapterEntry* packedNextAdapter(const HostAdapterEntry* entry) {
  return reinterpret_cast<const HostAdapterEntry*>(asPacked(entry)->next);
}

HostAdapterTexts packedAdapterTexts(const HostAdapterEntry* entry) {
  const PackedAdapter* record = asPacked(entry);
  return {record->address, record->mask, record->gateway};
}
