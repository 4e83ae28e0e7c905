#include "platform/host/host_config_parse.h"

#include <charconv>
#include <optional>
#include <vector>

namespace {

constexpr unsigned ROUTE_UP = 0x1;       // RTF_UP
constexpr unsigned ROUTE_GATEWAY = 0x2;  // RTF_GATEWAY

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string_view> splitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !isBlank(line[i])) ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

template <typename T>
std::optional<T> parseWhole(std::string_view text, int base) {
  T value{};
  if (text.empty()) return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The kernel's %08X of a network-order word, back to a.b.c.d.
std::optional<std::uint32_t> routeAddress(std::string_view field, std::endian hostOrder) {
  if (field.size() != 8) return std::nullopt;
  const auto raw = parseWhole<std::uint32_t>(field, 16);
  if (!raw) return std::nullopt;
  if (hostOrder == std::endian::big) return *raw;
  const std::uint32_t v = *raw;
  return (v & 0xffu) << 24 | (v >> 8 & 0xffu) << 16 | (v >> 16 & 0xffu) << 8 | v >> 24;
}

}  // namespace

bool isDottedQuad(std::string_view text) {
  int parts = 0;
  while (true) {
    std::size_t digits = 0;
    unsigned value = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
      value = value * 10 + static_cast<unsigned>(text[digits] - '0');
      if (++digits > 3) return false;
    }
    if (digits == 0 || value > 255 || (digits > 1 && text[0] == '0')) return false;
    ++parts;
    text.remove_prefix(digits);
    if (parts == 4) return text.empty();
    if (text.empty() || text[0] != '.') return false;
    text.remove_prefix(1);
  }
}

std::string ipv4Text(std::uint32_t value) {
  return std::to_string(value >> 24) + '.' + std::to_string(value >> 16 & 0xffu) + '.' +
         std::to_string(value >> 8 & 0xffu) + '.' + std::to_string(value & 0xffu);
}

std::string prefixMaskText(unsigned prefixLength) {
  if (prefixLength >= 32) return ipv4Text(0xffffffffu);
  return ipv4Text(prefixLength == 0 ? 0u : ~0u << (32 - prefixLength));
}

std::string firstIpv4Nameserver(std::string_view resolvConf) {
  constexpr std::string_view keyword = "nameserver";
  for (std::string_view line : splitLines(resolvConf)) {
    if (line.size() <= keyword.size() || line.substr(0, keyword.size()) != keyword) continue;
    if (!isBlank(line[keyword.size()])) continue;
    line.remove_prefix(keyword.size());
    std::size_t start = 0;
    while (start < line.size() && isBlank(line[start])) ++start;
    std::size_t end = start;
    while (end < line.size() && !isBlank(line[end]) && line[end] != ';' && line[end] != '#') ++end;
    const std::string_view address = line.substr(start, end - start);
    if (isDottedQuad(address)) return std::string(address);
  }
  return {};
}

std::map<std::string, std::string> defaultGatewaysByInterface(std::string_view routeTable, std::endian hostOrder) {
  struct Best {
    std::uint32_t metric;
    std::uint32_t gateway;
  };
  std::map<std::string, Best> best;
  for (std::string_view line : splitLines(routeTable)) {
    // Iface Destination Gateway Flags RefCnt Use Metric Mask ...
    const auto f = splitFields(line);
    if (f.size() < 8) continue;
    const auto destination = routeAddress(f[1], hostOrder);
    const auto gateway = routeAddress(f[2], hostOrder);
    const auto flags = parseWhole<unsigned>(f[3], 16);
    const auto metric = parseWhole<std::uint32_t>(f[6], 10);
    const auto mask = routeAddress(f[7], hostOrder);
    if (!destination || !gateway || !flags || !metric || !mask) continue;
    if (*destination != 0 || *mask != 0 || *gateway == 0) continue;
    if ((*flags & ROUTE_UP) == 0 || (*flags & ROUTE_GATEWAY) == 0) continue;
    const std::string name(f[0]);
    const auto found = best.find(name);
    if (found == best.end() || *metric < found->second.metric) best[name] = {*metric, *gateway};
  }
  std::map<std::string, std::string> gateways;
  for (const auto& [name, route] : best) gateways[name] = ipv4Text(route.gateway);
  return gateways;
}
