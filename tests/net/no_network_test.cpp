// A PC with no network at all (only loopback), and a PC whose port 9999 is
// taken: the real sockets fail, the worker copes.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <thread>

#include "platform/net/socket_api.h"
#include "tests/net/exchange_run.h"
#include "tests/net/forwarding_sockets.h"
#include "tests/net/private_lan.h"

namespace {

using namespace std::chrono_literals;

class CountingSends final : public ForwardingSockets {
 public:
  using ForwardingSockets::ForwardingSockets;
  long sendTo(net::Socket s, const char* data, std::size_t size, std::uint32_t address, std::uint16_t port) override {
    const long n = ForwardingSockets::sendTo(s, data, size, address, port);
    ++sends;
    if (n < 0 && errno == ENETUNREACH) ++unreachable;
    return n;
  }
  std::atomic<int> sends{0};
  std::atomic<int> unreachable{0};
};

using NoNetwork = PrivateNetworkTest;

TEST_F(NoNetwork, SendsFailWithoutSpinningAndTheWorkerEndsWhenTheFlagClears) {
  CountingSends sockets(net::systemSockets());
  ExchangeRun run(shortTiming(200ms, 300ms), sockets);
  run.start();
  std::this_thread::sleep_for(1000ms);
  run.clearBusy();
  ASSERT_TRUE(run.finish());

  EXPECT_EQ(run.dialog.summary(), "busy-look idle-look end-timer");
  // One try per wait, each refused: 5 or 6 over one second, not thousands.
  EXPECT_GE(sockets.sends, 4);
  EXPECT_LE(sockets.sends, 7);
  EXPECT_EQ(sockets.unreachable, sockets.sends);
  EXPECT_LT(run.elapsed(), 1.5s) << "the worker did not end within one wait of the flag clearing";
  // A worker that resent at once would burn the whole second.
  EXPECT_LT(run.cpu(), 100ms);
}

struct TakenCase {
  const char* name;
  std::uint32_t address;
  bool reuse;
};
void PrintTo(const TakenCase& c, std::ostream* os) { *os << c.name; }

class PortTaken : public PrivateNetworkTest, public testing::WithParamInterface<TakenCase> {};

TEST_P(PortTaken, ShowsPasPuBindAndSendsNothing) {
  const int holder = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(holder, 0);
  const int one = 1;
  if (GetParam().reuse) setsockopt(holder, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(GetParam().address);
  a.sin_port = htons(9999);
  ASSERT_EQ(bind(holder, reinterpret_cast<const sockaddr*>(&a), sizeof a), 0);
  ASSERT_EQ(listen(holder, 1), 0);

  CountingSends sockets(net::systemSockets());
  ExchangeRun run(shortTiming(200ms, 300ms), sockets);
  run.start();
  ASSERT_TRUE(run.finish());
  close(holder);

  // The look, the flag (and the timer) stay for Cancel or the time-out.
  EXPECT_EQ(run.dialog.summary(), "busy-look notice:Tamrel:Pas pu bind");
  EXPECT_TRUE(run.settings.busy);
  EXPECT_EQ(sockets.sends, 0);
}

INSTANTIATE_TEST_SUITE_P(Listeners, PortTaken,
                         testing::Values(TakenCase{"every_address", INADDR_ANY, false},
                                         TakenCase{"every_address_with_reuse", INADDR_ANY, true},
                                         TakenCase{"loopback_only", INADDR_LOOPBACK, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
