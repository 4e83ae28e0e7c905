#include "exchange/config_request.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
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

// Found by fuzzing: a field written to its last byte, with no terminator,
// used to pull the next field's bytes into the line.
TEST(ConfigRequest, FieldsWithoutTerminatorAreReadToTheirEndOnly) {
  BoxSettingsRecord r{};
  std::fill(std::begin(r.licence), std::end(r.licence), 'L');
  std::fill(std::begin(r.dns), std::end(r.dns), '4');
  std::fill(std::begin(r.gateway), std::end(r.gateway), '3');
  std::fill(std::begin(r.mask), std::end(r.mask), '2');
  std::fill(std::begin(r.boxIp), std::end(r.boxIp), '1');
  std::fill(std::begin(r.hostIp), std::end(r.hostIp), 'H');
  EXPECT_EQ(buildConfigRequest(r), "config " + std::string(100, 'L') + " " + std::string(20, '1') + " " +
                                       std::string(20, '2') + " " + std::string(20, '3') + " " + std::string(20, '4'));
}

}  // namespace
