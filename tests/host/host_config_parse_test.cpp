#include "platform/host/host_config_parse.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>

namespace {

struct NameserverCase {
  const char* name;
  const char* text;
  const char* first;
  friend void PrintTo(const NameserverCase& c, std::ostream* out) { *out << c.name; }
};

class FirstNameserver : public ::testing::TestWithParam<NameserverCase> {};

TEST_P(FirstNameserver, IsTheFirstValidIpv4Entry) {
  EXPECT_EQ(firstIpv4Nameserver(GetParam().text), GetParam().first);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FirstNameserver,
    ::testing::Values(
        NameserverCase{"Empty", "", ""},
        NameserverCase{"OneLineWithoutBreak", "nameserver 10.0.0.1", "10.0.0.1"},
        NameserverCase{"FirstOfSeveral", "nameserver 10.0.0.1\nnameserver 10.0.0.2\n", "10.0.0.1"},
        NameserverCase{"CommentsSkipped", "# nameserver 1.1.1.1\n; nameserver 2.2.2.2\nnameserver 3.3.3.3\n",
                       "3.3.3.3"},
        NameserverCase{"OtherKeywords",
                       "# Generated\ndomain lan\nsearch lan example.org\noptions edns0 trust-ad\nnameserver 9.9.9.9\n",
                       "9.9.9.9"},
        NameserverCase{"Ipv6Skipped", "nameserver 2001:db8::1\nnameserver fe80::1%eth0\nnameserver 8.8.8.8\n",
                       "8.8.8.8"},
        NameserverCase{"TabAndTrailingComment", "nameserver\t4.4.4.4   # primary\n", "4.4.4.4"},
        NameserverCase{"CommentGluedToAddress", "nameserver 5.5.5.5;backup\n", "5.5.5.5"},
        NameserverCase{"CrLf", "nameserver 6.6.6.6\r\n", "6.6.6.6"},
        NameserverCase{"KeywordMustStartLineAndBeExact",
                       " nameserver 1.1.1.1\nNameserver 1.1.1.2\nnameservers 1.1.1.3\nnameserver1.1.1.4\nnameserver\n",
                       ""},
        NameserverCase{"MalformedAddressesSkipped",
                       "nameserver 256.1.1.1\nnameserver 1.2.3\nnameserver 01.2.3.4\nnameserver 1.2.3.4.5\n"
                       "nameserver 1.2.3.x\nnameserver -1.2.3.4\nnameserver 1234.1.1.1\nnameserver 7.7.7.7\n",
                       "7.7.7.7"},
        NameserverCase{"StubIsReportedAsWritten", "nameserver 127.0.0.53\nnameserver 1.1.1.1\n", "127.0.0.53"}),
    [](const ::testing::TestParamInfo<NameserverCase>& info) { return std::string(info.param.name); });

// As the kernel prints it on a little-endian host.
constexpr const char* ROUTE_HEADER =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT          \n";

struct RouteCase {
  const char* name;
  std::string table;
  std::map<std::string, std::string> gateways;
  friend void PrintTo(const RouteCase& c, std::ostream* out) { *out << c.name; }
};

class DefaultGateways : public ::testing::TestWithParam<RouteCase> {};

TEST_P(DefaultGateways, LowestMetricDefaultRoutePerInterface) {
  EXPECT_EQ(defaultGatewaysByInterface(GetParam().table, std::endian::little), GetParam().gateways);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultGateways,
    ::testing::Values(
        RouteCase{"HeaderOnly", ROUTE_HEADER, {}},
        RouteCase{"OnePerInterface",
                  std::string(ROUTE_HEADER) +
                      "veth-pc\t00000000\t02004D0A\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"
                      "voff\t00000000\t010014AC\t0003\t0\t0\t50\t00000000\t0\t0\t0\n"
                      "veth-pc\t00004D0A\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n",
                  {{"veth-pc", "10.77.0.2"}, {"voff", "172.20.0.1"}}},
        RouteCase{"LowestMetricThenFirst",
                  std::string(ROUTE_HEADER) +
                      "eth0\t00000000\t0101A8C0\t0003\t0\t0\t300\t00000000\t0\t0\t0\n"
                      "eth0\t00000000\t0201A8C0\t0003\t0\t0\t200\t00000000\t0\t0\t0\n"
                      "eth0\t00000000\t0301A8C0\t0003\t0\t0\t200\t00000000\t0\t0\t0\n",
                  {{"eth0", "192.168.1.2"}}},
        RouteCase{"NotDefaultNotUpOrWithoutGateway",
                  std::string(ROUTE_HEADER) +
                      "vpn0\t00000000\t0100080A\t0003\t0\t0\t0\t00000080\t0\t0\t0\n"  // 0.0.0.0/1
                      "eth1\t0000A8C0\t0101A8C0\t0003\t0\t0\t0\t0000FFFF\t0\t0\t0\n"
                      "eth2\t00000000\t0101A8C0\t0002\t0\t0\t0\t00000000\t0\t0\t0\n"   // not up
                      "ppp0\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n",  // no gateway
                  {}},
        RouteCase{"MalformedLinesSkipped",
                  std::string(ROUTE_HEADER) + "\n" + "eth0\t00000000\n" +
                      "eth1\tzz000000\t0101A8C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"
                      "eth2\t00000000\t0101A8C0\t0003\t0\t0\t-1\t00000000\t0\t0\t0\n"
                      "eth3\t00000000\t101A8C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"
                      "eth4 00000000 0101A8C0 0003 0 0 7 00000000 0 0 0\n",
                  {{"eth4", "192.168.1.1"}}}),
    [](const ::testing::TestParamInfo<RouteCase>& info) { return std::string(info.param.name); });

TEST(DefaultGatewaysBigEndian, ReadsTheWordTopByteFirst) {
  const auto gateways =
      defaultGatewaysByInterface("eth0\t00000000\t0A4D0002\t0003\t0\t0\t0\t00000000\t0\t0\t0\n", std::endian::big);
  EXPECT_EQ(gateways, (std::map<std::string, std::string>{{"eth0", "10.77.0.2"}}));
}

TEST(PrefixMaskText, CoversTheRange) {
  EXPECT_EQ(prefixMaskText(0), "0.0.0.0");
  EXPECT_EQ(prefixMaskText(8), "255.0.0.0");
  EXPECT_EQ(prefixMaskText(26), "255.255.255.192");
  EXPECT_EQ(prefixMaskText(32), "255.255.255.255");
  EXPECT_EQ(prefixMaskText(33), "255.255.255.255");
}

}  // namespace
