#include "platform/host/adapter_list.h"

#include <gtest/gtest.h>

namespace {

TEST(AdaptersInKernelOrder, UpIpv4InterfacesByIndexWithTheirOwnGateway) {
  std::vector<InterfaceInfo> interfaces = {
      {50, "wan", false, true, 0xAC140005, 16},       // 172.20.0.5/16, up without carrier
      {1, "lo", true, true, 0x7F000001, 8},
      {20, "lan2", false, true, 0xC0A83207, 26},      // 192.168.50.7/26
      {10, "off", false, false, 0x0A090909, 8},       // set down
      {45, "noip", false, true, std::nullopt, 0},
      {2, "eth0", false, true, 0x0A4D0001, 24},
  };
  const std::map<std::string, std::string> gateways = {
      {"eth0", "10.77.0.2"}, {"wan", "172.20.0.1"}, {"off", "10.0.0.1"}, {"gone", "10.1.1.1"}};
  const std::vector<HostAdapter> expected = {
      {"10.77.0.1", "255.255.255.0", "10.77.0.2"},
      {"192.168.50.7", "255.255.255.192", ""},
      {"172.20.0.5", "255.255.0.0", "172.20.0.1"},
  };
  EXPECT_EQ(adaptersInKernelOrder(interfaces, gateways), expected);
  EXPECT_TRUE(adaptersInKernelOrder({interfaces[1], interfaces[3]}, gateways).empty());
}

}  // namespace
