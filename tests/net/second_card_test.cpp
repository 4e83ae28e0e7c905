// A PC with two cards; the default route goes by the first. The box may sit
// behind either, so every broadcast leaves by each card.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <thread>

#include "platform/net/socket_api.h"
#include "tests/net/box_process.h"
#include "tests/net/exchange_run.h"
#include "tests/net/private_lan.h"

namespace {

using namespace std::chrono_literals;

std::uint32_t hostOrder(const std::string& dotted) {
  in_addr a{};
  inet_pton(AF_INET, dotted.c_str(), &a);
  return ntohl(a.s_addr);
}

class TwoCards : public PrivateNetworkTest {
 protected:
  void SetUp() override {
    PrivateNetworkTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_FALSE(lanVariable("LAN_BOX2").empty()) << "no second card: run through ctest (with-lan --second-link)";
  }
};

struct CardCase {
  const char* name;
  const char* boxNamespace;  // with-lan's variable names
  const char* pcAddress;
};
void PrintTo(const CardCase& c, std::ostream* os) { *os << c.name; }

class BoxBehindEitherCard : public TwoCards, public testing::WithParamInterface<CardCase> {};

TEST_P(BoxBehindEitherCard, HearsTheBroadcastAndItsAnswerIsTaken) {
  BoxProcess box(lanVariable(GetParam().boxNamespace), {"--reply", "CONFIG_OK"});
  ASSERT_TRUE(box.listening()) << box.problem();
  ExchangeRun run(shortTiming(3s, 300ms), net::systemSockets());
  run.start();
  ASSERT_TRUE(run.finish());

  EXPECT_EQ(run.dialog.summary(), "busy-look status:10 idle-look end-timer");
  const auto requests = box.requests();
  ASSERT_EQ(requests.size(), 1u) << box.output();
  EXPECT_EQ(requests[0].from, lanVariable(GetParam().pcAddress));
}

INSTANTIATE_TEST_SUITE_P(Cards, BoxBehindEitherCard,
                         testing::Values(CardCase{"default_route_card", "LAN_BOX", "LAN_PC_IP"},
                                         CardCase{"second_card", "LAN_BOX2", "LAN_PC_IP2"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TwoCards, BothCardsAreBroadcastSourcesInInterfaceOrder) {
  const auto sources = net::systemSockets().broadcastSources();
  ASSERT_TRUE(sources.has_value());
  EXPECT_EQ(*sources,
            (std::vector<std::uint32_t>{hostOrder(lanVariable("LAN_PC_IP")), hostOrder(lanVariable("LAN_PC_IP2"))}));
}

// What the worker relies on: a limited broadcast from a socket bound to an
// address leaves by that address's card; an unbound one by the default route.
struct SourceCase {
  const char* name;
  const char* source;  // with-lan's variable, or nullptr for the unbound socket
  std::size_t heardByBox;
  std::size_t heardByBox2;
};
void PrintTo(const SourceCase& c, std::ostream* os) { *os << c.name; }

class LimitedBroadcastSource : public TwoCards, public testing::WithParamInterface<SourceCase> {};

TEST_P(LimitedBroadcastSource, LeavesByTheCardOfTheBoundAddress) {
  BoxProcess box(lanVariable("LAN_BOX"), {"--no-connect"});
  BoxProcess box2(lanVariable("LAN_BOX2"), {"--no-connect"});
  ASSERT_TRUE(box.listening()) << box.problem();
  ASSERT_TRUE(box2.listening()) << box2.problem();

  net::SocketApi& sockets = net::systemSockets();
  net::Socket s = net::kInvalidSocket;
  if (GetParam().source) {
    s = sockets.openUdpBoundTo(hostOrder(lanVariable(GetParam().source)));
  } else {
    s = sockets.openUdp();
    ASSERT_TRUE(sockets.setBroadcast(s));
  }
  ASSERT_NE(s, net::kInvalidSocket) << sockets.errorText(sockets.lastError());
  const char line[] = "config X 1.1.1.1 1.1.1.1 1.1.1.1 1.1.1.1";
  EXPECT_EQ(sockets.sendTo(s, line, sizeof line - 1, 0xFFFFFFFFu, 9999), static_cast<long>(sizeof line - 1));
  sockets.closeSocket(s);
  std::this_thread::sleep_for(300ms);

  EXPECT_EQ(box.requests().size(), GetParam().heardByBox) << box.output();
  EXPECT_EQ(box2.requests().size(), GetParam().heardByBox2) << box2.output();
}

INSTANTIATE_TEST_SUITE_P(Sources, LimitedBroadcastSource,
                         testing::Values(SourceCase{"unbound", nullptr, 1, 0},
                                         SourceCase{"first_card", "LAN_PC_IP", 1, 0},
                                         SourceCase{"second_card", "LAN_PC_IP2", 0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
