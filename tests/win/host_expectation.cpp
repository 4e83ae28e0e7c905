#include "tests/win/host_expectation.h"

#include <winsock2.h>
#include <iphlpapi.h>

#include <cstdio>
#include <vector>

HostAnswer askIpHelper() {
  HostAnswer answer;
  ULONG size = 0;
  GetNetworkParams(nullptr, &size);
  std::vector<unsigned char> params(size ? size : sizeof(FIXED_INFO));
  size = static_cast<ULONG>(params.size());
  answer.networkParamsError = GetNetworkParams(reinterpret_cast<FIXED_INFO*>(params.data()), &size);
  answer.networkParamsOk = answer.networkParamsError == ERROR_SUCCESS;
  if (answer.networkParamsOk) answer.dns = reinterpret_cast<FIXED_INFO*>(params.data())->DnsServerList.IpAddress.String;

  size = 0;
  if (GetAdaptersInfo(nullptr, &size) != ERROR_BUFFER_OVERFLOW) return answer;
  std::vector<unsigned char> adapters(size);
  if (GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(adapters.data()), &size) != ERROR_SUCCESS) return answer;
  answer.adaptersOk = true;
  for (auto* a = reinterpret_cast<const IP_ADAPTER_INFO*>(adapters.data()); a; a = a->Next) {
    answer.hostIp = a->IpAddressList.IpAddress.String;
    answer.mask = a->IpAddressList.IpMask.String;
    answer.gateway = a->GatewayList.IpAddress.String;
  }
  return answer;
}

std::uint32_t addressValue(const std::string& dottedQuad) {
  unsigned a, b, c, d;
  char tail;
  if (std::sscanf(dottedQuad.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) != 4) return 0;
  if (a > 255 || b > 255 || c > 255 || d > 255) return 0;
  return (a << 24) | (b << 16) | (c << 8) | d;
}

std::array<std::wstring, 4> fieldTexts(std::uint32_t value) {
  return {std::to_wstring(value >> 24), std::to_wstring((value >> 16) & 0xFF), std::to_wstring((value >> 8) & 0xFF),
          std::to_wstring(value & 0xFF)};
}
