#pragma once
// Reading the resolver configuration and the kernel's IPv4 route table from
// their text. No system call here: the callers read the files.
#include <bit>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// The local stub of systemd-resolved; its upstream servers are listed in
// /run/systemd/resolve/resolv.conf.
inline constexpr std::string_view RESOLVED_STUB_ADDRESS = "127.0.0.53";

// Four decimal numbers 0-255 joined by dots, no sign, no leading zero, the
// form inet_pton accepts.
bool isDottedQuad(std::string_view text);

// "a.b.c.d" of a value whose top byte is a.
std::string ipv4Text(std::uint32_t value);
// The mask of a prefix length, as dotted quad; lengths over 32 count as 32.
std::string prefixMaskText(unsigned prefixLength);

// The first IPv4 "nameserver" line of a resolv.conf text, read as the C
// library reads it: the keyword at the start of the line, comments after
// ';' or '#'. IPv6 and malformed entries are passed over: the box takes an
// IPv4 server only. "" when there is none.
std::string firstIpv4Nameserver(std::string_view resolvConf);

// From the text of /proc/net/route: for each interface, the gateway of its
// default route (destination and mask 0, up, via a gateway) with the lowest
// metric; the first listed wins a tie. Malformed lines are skipped. The
// kernel prints addresses as the raw network-order word in the host's byte
// order, hence hostOrder.
std::map<std::string, std::string> defaultGatewaysByInterface(std::string_view routeTable,
                                                              std::endian hostOrder = std::endian::native);
