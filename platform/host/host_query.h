#pragma once
// The host's own network settings, asked the way IP Helper answers:
// GetNetworkParams for the DNS server, GetAdaptersInfo for the adapters.
// The caller owns the buffers; a call that finds its buffer missing or too
// small writes the size it needs back and answers "buffer too small".
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

inline constexpr std::uint32_t HOST_QUERY_OK = 0;
// ERROR_BUFFER_OVERFLOW: the size needed has been written back.
inline constexpr std::uint32_t HOST_QUERY_BUFFER_TOO_SMALL = 111;

// One adapter record inside a buffer filled by adaptersInfo; its layout is
// the implementation's (IP_ADAPTER_INFO on Windows).
struct HostAdapterEntry;

// Texts of one adapter: first address, its mask, first gateway. Dotted quad,
// or empty / 0.0.0.0 where the adapter has none. They live in the buffer.
struct HostAdapterTexts {
  const char* address;
  const char* mask;
  const char* gateway;
};

using HostQueryBuffer = std::unique_ptr<std::byte[]>;

class HostQuery {
 public:
  virtual ~HostQuery() = default;

  // GetNetworkParams. HOST_QUERY_OK, HOST_QUERY_BUFFER_TOO_SMALL with size
  // updated, or any other value: the platform's error number.
  virtual std::uint32_t networkParams(std::byte* buffer, std::uint32_t& size) = 0;
  // Of a buffer that networkParams filled: the first DNS server, "" if none.
  virtual const char* firstDnsServer(const std::byte* buffer) const = 0;

  // GetAdaptersInfo; buffer may be null (a probe for the size). Same results;
  // a host without any adapter is a failure.
  virtual std::uint32_t adaptersInfo(std::byte* buffer, std::uint32_t& size) = 0;
  // The chain in a buffer that adaptersInfo filled, in the platform's order:
  // the first record, then each one's next; null at the end.
  virtual const HostAdapterEntry* firstAdapter(const std::byte* buffer) const = 0;
  virtual const HostAdapterEntry* nextAdapter(const HostAdapterEntry* entry) const = 0;
  virtual HostAdapterTexts adapterTexts(const HostAdapterEntry* entry) const = 0;

  // A query buffer; null when memory cannot be had.
  virtual HostQueryBuffer obtainBuffer(std::uint32_t size) { return HostQueryBuffer(new (std::nothrow) std::byte[size]); }
  // The platform's error number for "out of memory" (ENOMEM,
  // ERROR_NOT_ENOUGH_MEMORY), reported when obtainBuffer fails.
  virtual std::uint32_t outOfMemoryCode() const = 0;
};

// The platform's implementation, alive for the whole process.
HostQuery& systemHostQuery();
