// Peers that do not play by the protocol, on a private LAN: a flood of
// connections, a silent peer, a 64 KiB reply, a reply cut by a reset, a storm
// of datagrams, a peer that connects before the broadcast. Whatever they do,
// the worker posts at most one status and ends, keeps no descriptor, and the
// next exchange is answered.
#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/net/socket_api.h"
#include "tests/net/box_process.h"
#include "tests/net/exchange_run.h"
#include "tests/net/hostile_peer.h"
#include "tests/net/private_lan.h"

namespace {

using namespace std::chrono_literals;
using testing::AnyOf;

constexpr std::uint16_t kPort = 9999;
const std::string kStatus30 = "busy-look status:30 idle-look end-timer";

std::uint32_t lanAddress(const char* variable) {
  in_addr a{};
  inet_pton(AF_INET, lanVariable(variable).c_str(), &a);
  return ntohl(a.s_addr);
}

class HostilePeers : public PrivateNetworkTest {
 protected:
  void SetUp() override {
    PrivateNetworkTest::SetUp();
    if (HasFatalFailure()) return;
    box = lanVariable("LAN_BOX");
    ASSERT_FALSE(box.empty()) << "no box namespace: run through ctest (with-lan)";
    pc = lanAddress("LAN_PC_IP");
    // Room for a flood beside the test's own descriptors.
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    if (limit.rlim_cur < 4096 && limit.rlim_max > limit.rlim_cur) {
      limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, 4096);
      setrlimit(RLIMIT_NOFILE, &limit);
    }
    descriptorsBefore = openDescriptors();
  }

  // A hostile peer's body first waits for the test's go.
  void awaitGo(const PeerThread& self) const {
    while (!go && !self.stopping()) std::this_thread::sleep_for(1ms);
  }

  // After the hostile exchange: nothing of it left open, and a box that
  // plays by the rules is answered at once.
  void expectCleanAndNextExchangeAnswered() {
    EXPECT_EQ(openDescriptors(), descriptorsBefore) << "descriptors leaked";
    BoxProcess honest(box, {"--reply", "CONFIG_OK", "--count", "1"});
    ASSERT_TRUE(honest.listening()) << honest.problem();
    ExchangeRun next(shortTiming(2s, 1s), net::systemSockets());
    next.start();
    ASSERT_TRUE(next.finish(10s));
    EXPECT_EQ(next.dialog.summary(), "busy-look status:10 idle-look end-timer") << honest.output();
  }

  static WorkerTiming hostileTiming() { return shortTiming(1500ms, 1000ms); }

  std::string box;
  std::uint32_t pc = 0;
  int descriptorsBefore = 0;
  std::atomic<bool> go{false};
};

TEST_F(HostilePeers, AFloodOfConnectionsDuringOneExchangeGetsOneStatus) {
  std::atomic<long> connections{0};
  PeerThread flood(box, [&](PeerThread& self) {
    awaitGo(self);
    connections = floodConnections(self, pc, kPort, 1000);
  });
  HookedSockets sockets(net::systemSockets());
  sockets.afterFirstBroadcast = [&] { go = true; };
  {
    ExchangeRun run(hostileTiming(), sockets);
    run.start();
    ASSERT_TRUE(run.finish(10s));
    // The first connection is taken as the answer; it says nothing.
    EXPECT_EQ(run.dialog.summary(), kStatus30);
  }
  ASSERT_TRUE(flood.waitReady());
  flood.stop();
  EXPECT_GE(connections, 200) << "the flood never reached hundreds of connections";
  RecordProperty("connections", std::to_string(connections.load()));
  std::printf("flood: %ld connections established during one exchange\n", connections.load());
  expectCleanAndNextExchangeAnswered();
}

TEST_F(HostilePeers, AFloodDoesNotKeepAStoppedWorkerWaiting) {
  PeerThread flood(box, [&](PeerThread& self) {
    awaitGo(self);
    floodConnections(self, pc, kPort, 500);
  });
  HookedSockets sockets(net::systemSockets());
  sockets.afterFirstBroadcast = [&] { go = true; };
  {
    ExchangeRun run(WorkerTiming{}, sockets);  // ten seconds to wait and to receive
    run.start();
    ASSERT_TRUE(flood.waitReady());
    const auto stopped = std::chrono::steady_clock::now();
    run.worker().stop();  // what a new Launch or a closed dialog does
    ASSERT_TRUE(run.finish(5s));
    EXPECT_LT(std::chrono::steady_clock::now() - stopped, 1s);
    EXPECT_EQ(run.dialog.summary(), "busy-look");
  }
  flood.stop();
  expectCleanAndNextExchangeAnswered();
}

struct ReplyCase {
  const char* name;
  std::string bytes;
  bool reset;  // the peer then aborts the connection
  std::vector<std::string> outcomes;
};
void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

class HostileReplies : public HostilePeers, public testing::WithParamInterface<ReplyCase> {};

TEST_P(HostileReplies, EndInOneStatus) {
  PeerThread peer(box, [&](PeerThread& self) {
    awaitGo(self);
    const int fd = connectTo(pc, kPort, 5s);
    if (fd < 0) return;
    sendAll(fd, GetParam().bytes);
    if (GetParam().reset) {
      closeWithReset(fd);
      return;
    }
    self.idle(1h);  // holds the connection open
    close(fd);
  });
  HookedSockets sockets(net::systemSockets());
  sockets.afterFirstBroadcast = [&] { go = true; };
  {
    ExchangeRun run(hostileTiming(), sockets);
    run.start();
    ASSERT_TRUE(run.finish(10s));
    EXPECT_THAT(run.dialog.summary(), testing::AnyOfArray(GetParam().outcomes));
  }
  peer.stop();
  expectCleanAndNextExchangeAnswered();
}

INSTANTIATE_TEST_SUITE_P(
    Peers, HostileReplies,
    testing::Values(
        ReplyCase{"silent", "", false, {kStatus30}},
        ReplyCase{"reply_of_64_KiB", std::string(64 * 1024, 'A'), false, {kStatus30}},
        ReplyCase{"token_zero_byte_then_64_KiB",
                  std::string("CONFIG_OK\0", 10) + std::string(64 * 1024, '\xFF'),
                  false,
                  {"busy-look status:10 idle-look end-timer"}},
        // The reset may come before the single receive or after it.
        ReplyCase{"reply_cut_by_a_reset",
                  "CONFIG_O",
                  true,
                  {kStatus30, "busy-look notice:KQV:connection reset status:30 idle-look end-timer"}},
        ReplyCase{"64_KiB_cut_by_a_reset",
                  std::string(64 * 1024, 'A'),
                  true,
                  {kStatus30, "busy-look notice:KQV:connection reset status:30 idle-look end-timer"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostilePeers, ADatagramStormFromTheBoxSideChangesNothing) {
  std::atomic<long> datagrams{0};
  std::atomic<std::uint16_t> senderPort{0};
  // The answering side: hears the request, sets the storm going at the PC's
  // port 9999 and at the port the request came from, then answers within it.
  PeerThread answering(box, [&](PeerThread& self) {
    const int udp = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(kPort);
    if (udp < 0 || bind(udp, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
      ADD_FAILURE() << "cannot hear the request";
      return;
    }
    self.ready();
    pollfd p{udp, POLLIN, 0};
    char request[2048];
    sockaddr_in from{};
    socklen_t size = sizeof from;
    if (poll(&p, 1, 5000) != 1 ||
        recvfrom(udp, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&from), &size) <= 0) {
      ADD_FAILURE() << "no request";
      close(udp);
      return;
    }
    senderPort = ntohs(from.sin_port);
    go = true;
    self.idle(300ms);
    const int fd = connectTo(ntohl(from.sin_addr.s_addr), kPort, 5s);
    if (fd >= 0) sendAll(fd, "CONFIG_BAD_DNS");
    self.idle(1h);
    if (fd >= 0) close(fd);
    close(udp);
  });
  PeerThread storm(box, [&](PeerThread& self) {
    awaitGo(self);
    datagrams = datagramStorm(self, pc, {kPort, senderPort.load()});
  });
  ASSERT_TRUE(answering.waitReady());
  {
    ExchangeRun run(hostileTiming(), net::systemSockets());
    run.start();
    ASSERT_TRUE(run.finish(10s));
    EXPECT_EQ(run.dialog.summary(), "busy-look status:31 idle-look end-timer");
  }
  storm.stop();
  answering.stop();
  EXPECT_GT(datagrams, 100);
  RecordProperty("datagrams", std::to_string(datagrams.load()));
  std::printf("storm: %ld datagrams sent during one exchange\n", datagrams.load());
  expectCleanAndNextExchangeAnswered();
}

TEST_F(HostilePeers, APeerThatConnectsBeforeTheBroadcastIsTheAnswer) {
  // The real box answers every request; the early peer is first in line.
  auto realBox = std::make_unique<BoxProcess>(box, std::vector<std::string>{"--reply", "CONFIG_OK"});
  ASSERT_TRUE(realBox->listening()) << realBox->problem();
  PeerThread early(box, [&](PeerThread& self) {
    awaitGo(self);
    const int fd = connectTo(pc, kPort, 5s);
    if (fd < 0) return;
    sendAll(fd, "CONFIG_BAD_USER");
    self.ready();
    self.idle(1h);
    close(fd);
  });
  HookedSockets sockets(net::systemSockets());
  sockets.beforeFirstBroadcast = [&] {
    go = true;
    EXPECT_TRUE(early.waitReady()) << "the early peer never got in";
  };
  {
    ExchangeRun run(hostileTiming(), sockets);
    run.start();
    ASSERT_TRUE(run.finish(10s));
    // As the protocol has it, the first connection is the answer; the box's
    // own answer, later, is never taken.
    EXPECT_EQ(run.dialog.summary(), "busy-look status:36 idle-look end-timer");
  }
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(realBox->requests().size(), 1u) << realBox->output();
  realBox.reset();
  early.stop();
  expectCleanAndNextExchangeAnswered();
}

}  // namespace
