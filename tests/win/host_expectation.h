#pragma once
// What IP Helper tells this process about the host, asked here independently
// of the program under test: the form's pre-fill and the start-up notices
// follow from it.
#include <array>
#include <cstdint>
#include <string>

struct HostAnswer {
  bool networkParamsOk = false;
  unsigned long networkParamsError = 0;
  bool adaptersOk = false;
  std::string dns;                       // first DNS server
  std::string hostIp, mask, gateway;     // of the adapter listed last
};

HostAnswer askIpHelper();

// Top byte first; 0 for an empty or unreadable text.
std::uint32_t addressValue(const std::string& dottedQuad);
// The four decimal field texts of a value, as an address input shows them.
std::array<std::wstring, 4> fieldTexts(std::uint32_t value);
