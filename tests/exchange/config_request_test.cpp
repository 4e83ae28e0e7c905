#include "exchange/config_request.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string line(const char* licence, const char* box, const char* mask, const char* gw, const char* dns) {
  BoxSettingsRecord r{};
  copyToField(r.licence, licence);
  copyToField(r.boxIp, box);
  copyToField(r.mask, mask);
  copyToField(r.gateway, gw);
  copyToField(r.dns, dns);
  return buildConfigRequest(r);
}

TEST(ConfigRequest, ExampleIsSixtyTwoBytesWithoutTerminator) {
  const auto request = line("AB12", "192.168.1.50", "255.255.255.0", "192.168.1.1", "192.168.1.1");
  EXPECT_EQ(request, "config AB12 192.168.1.50 255.255.255.0 192.168.1.1 192.168.1.1");
  EXPECT_EQ(request.size(), 62u);
}

TEST(ConfigRequest, LicenceGoesAsTypedSpacesAndAllBytes) {
  const auto request = line("A B\xE9", "10.0.0.2", "255.0.0.0", "10.0.0.1", "10.0.0.1");
  EXPECT_EQ(request, "config A B\xE9 10.0.0.2 255.0.0.0 10.0.0.1 10.0.0.1");
}

TEST(ConfigRequest, LongestLineIsWhole) {
  const std::string licence(49, 'L');
  const auto q = "255.255.255.255";
  const auto request = line(licence.c_str(), q, q, q, q);
  EXPECT_EQ(request.size(), 120u);
  EXPECT_EQ(request.substr(request.size() - 16), " 255.255.255.255");
}

TEST(ConfigRequest, ShortestLineIsForty) {
  EXPECT_EQ(line("1", "1.1.1.1", "2.2.2.2", "3.3.3.3", "4.4.4.4").size(), 40u);
}

}  // namespace
