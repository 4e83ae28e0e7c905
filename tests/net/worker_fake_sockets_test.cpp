// Failures of the socket layer that real sockets cannot be made to show on
// demand: a socket library that does not start, refused options, a failed
// listen or receive, an accept or a wait that keeps failing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <thread>

#include "exchange/exchange_worker.h"
#include "tests/net/recording_dialog.h"

namespace {

using namespace std::chrono_literals;
using testing::_;
using testing::NiceMock;
using testing::Return;

constexpr net::Socket kUdp = 3, kListener = 4, kConnection = 5;

class MockSockets : public net::SocketApi {
 public:
  MOCK_METHOD(bool, startLibrary, (), (override));
  MOCK_METHOD(void, stopLibrary, (), (override));
  MOCK_METHOD(int, lastError, (), (override));
  MOCK_METHOD(std::string, errorText, (int), (override));
  MOCK_METHOD(net::Socket, openUdp, (), (override));
  MOCK_METHOD(net::Socket, openTcp, (), (override));
  MOCK_METHOD(bool, setBroadcast, (net::Socket), (override));
  MOCK_METHOD(bool, setReuseAddress, (net::Socket), (override));
  MOCK_METHOD(bool, bindAny, (net::Socket, std::uint16_t), (override));
  MOCK_METHOD(bool, listenMax, (net::Socket), (override));
  MOCK_METHOD((std::optional<std::vector<std::uint32_t>>), broadcastSources, (), (override));
  MOCK_METHOD(net::Socket, openUdpBoundTo, (std::uint32_t), (override));
  MOCK_METHOD(long, sendTo, (net::Socket, const char*, std::size_t, std::uint32_t, std::uint16_t), (override));
  MOCK_METHOD(net::WaitResult, waitReadable, (net::Socket, std::chrono::milliseconds, net::Waker&), (override));
  MOCK_METHOD(net::Socket, acceptConnection, (net::Socket), (override));
  MOCK_METHOD(net::ReceiveResult, receiveOnce,
              (net::Socket, char*, std::size_t, std::chrono::milliseconds, net::Waker&, std::size_t&), (override));
  MOCK_METHOD(void, closeSocket, (net::Socket), (override));
  MOCK_METHOD(std::unique_ptr<net::Waker>, createWaker, (), (override));

  // A healthy layer whose box answers CONFIG_OK in the first wait.
  MockSockets() {
    ON_CALL(*this, startLibrary()).WillByDefault(Return(true));
    ON_CALL(*this, lastError()).WillByDefault(Return(13));
    ON_CALL(*this, errorText(_)).WillByDefault([](int e) { return "text of " + std::to_string(e); });
    ON_CALL(*this, openUdp()).WillByDefault(Return(kUdp));
    ON_CALL(*this, openTcp()).WillByDefault(Return(kListener));
    ON_CALL(*this, setBroadcast(_)).WillByDefault(Return(true));
    ON_CALL(*this, setReuseAddress(_)).WillByDefault(Return(true));
    ON_CALL(*this, bindAny(_, _)).WillByDefault(Return(true));
    ON_CALL(*this, listenMax(_)).WillByDefault(Return(true));
    ON_CALL(*this, broadcastSources()).WillByDefault(Return(std::nullopt));
    ON_CALL(*this, sendTo(_, _, _, _, _)).WillByDefault([](auto, auto, std::size_t size, auto, auto) {
      return static_cast<long>(size);
    });
    ON_CALL(*this, waitReadable(kListener, _, _)).WillByDefault(Return(net::WaitResult::Ready));
    ON_CALL(*this, waitReadable(net::kInvalidSocket, _, _))
        .WillByDefault([](auto, std::chrono::milliseconds limit, net::Waker&) {
          std::this_thread::sleep_for(limit);
          return net::WaitResult::TimedOut;
        });
    ON_CALL(*this, acceptConnection(_)).WillByDefault(Return(kConnection));
    ON_CALL(*this, receiveOnce(_, _, _, _, _, _))
        .WillByDefault([](auto, char* buffer, std::size_t, auto, net::Waker&, std::size_t& received) {
          received = std::snprintf(buffer, 16, "CONFIG_OK");
          return net::ReceiveResult::Received;
        });
  }
};

class WorkerOnFakeSockets : public testing::Test {
 protected:
  WorkerOnFakeSockets() {
    copyToField(settings.licence, "AB12");
    copyToField(settings.boxIp, "10.0.0.2");
    copyToField(settings.mask, "255.0.0.0");
    copyToField(settings.gateway, "10.0.0.1");
    copyToField(settings.dns, "10.0.0.1");
    settings.busy = true;
  }
  void run(std::FILE* out = stdout) {
    ExchangeWorker worker(dialog, sockets, settings.busy, settings, timing, out);
    worker.run();
  }

  BoxSettingsRecord settings{};
  RecordingDialog dialog{settings.busy};
  NiceMock<MockSockets> sockets;
  WorkerTiming timing{100ms, 100ms};
};

TEST_F(WorkerOnFakeSockets, LibraryThatDoesNotStartPrintsTheLineAndPosts20LeavingTheBusyLook) {
  EXPECT_CALL(sockets, startLibrary()).WillOnce(Return(false));
  EXPECT_CALL(sockets, lastError()).WillOnce(Return(10091));
  EXPECT_CALL(sockets, stopLibrary()).Times(1);
  EXPECT_CALL(sockets, openUdp()).Times(0);
  EXPECT_CALL(sockets, openTcp()).Times(0);
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  run(out);

  char printed[128] = "";
  std::rewind(out);
  const std::size_t n = std::fread(printed, 1, sizeof printed - 1, out);
  std::fclose(out);
  EXPECT_EQ(std::string(printed, n), "WSAStartup failed: text of 10091\n");
  EXPECT_EQ(dialog.summary(), "busy-look status:20");
  EXPECT_TRUE(settings.busy);
}

// The set-up steps in their order; the first refusal ends the worker with
// its notice, leaving the look, the flag and the timer, and sending nothing.
enum Step { Create, Broadcast, Reuse, Bind, Listen };

struct SetUpCase {
  const char* name;
  Step failing;
  std::function<void(MockSockets&)> refuse;
  const char* notice;
};
void PrintTo(const SetUpCase& c, std::ostream* os) { *os << c.name; }

class SetUpRefused : public WorkerOnFakeSockets, public testing::WithParamInterface<SetUpCase> {};

TEST_P(SetUpRefused, ShowsItsNoticeAndStops) {
  const Step failing = GetParam().failing;
  GetParam().refuse(sockets);
  if (failing < Broadcast) EXPECT_CALL(sockets, setBroadcast(_)).Times(0);
  if (failing < Reuse) EXPECT_CALL(sockets, setReuseAddress(_)).Times(0);
  if (failing < Bind) EXPECT_CALL(sockets, bindAny(_, _)).Times(0);
  if (failing < Listen) EXPECT_CALL(sockets, listenMax(_)).Times(0);
  EXPECT_CALL(sockets, sendTo(_, _, _, _, _)).Times(0);
  EXPECT_CALL(sockets, waitReadable(_, _, _)).Times(0);
  run();

  EXPECT_EQ(dialog.summary(), std::string("busy-look notice:Tamrel:") + GetParam().notice);
  EXPECT_TRUE(settings.busy);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, SetUpRefused,
    testing::Values(
        SetUpCase{"udp_socket", Create,
                  [](MockSockets& s) { ON_CALL(s, openUdp()).WillByDefault(Return(net::kInvalidSocket)); },
                  "Pas pu creer sockets"},
        SetUpCase{"listener_socket", Create,
                  [](MockSockets& s) { ON_CALL(s, openTcp()).WillByDefault(Return(net::kInvalidSocket)); },
                  "Pas pu creer sockets"},
        SetUpCase{"broadcast_permission", Broadcast,
                  [](MockSockets& s) {
                    EXPECT_CALL(s, setBroadcast(kUdp)).WillOnce(Return(false));
                    ON_CALL(s, lastError()).WillByDefault(Return(10013));
                  },
                  "text of 10013"},
        SetUpCase{"address_reuse", Reuse,
                  [](MockSockets& s) { EXPECT_CALL(s, setReuseAddress(kListener)).WillOnce(Return(false)); },
                  "Pas pu reuseaddress"},
        SetUpCase{"bind", Bind,
                  [](MockSockets& s) { EXPECT_CALL(s, bindAny(kListener, 9999)).WillOnce(Return(false)); },
                  "Pas pu bind"},
        SetUpCase{"listen", Listen,
                  [](MockSockets& s) { EXPECT_CALL(s, listenMax(kListener)).WillOnce(Return(false)); },
                  "Pas pu listen"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkerOnFakeSockets, FailedReceiveShowsConnectionResetThenPosts30AndClosesInOrder) {
  EXPECT_CALL(sockets, receiveOnce(kConnection, _, 1023, _, _, _)).WillOnce(Return(net::ReceiveResult::Failed));
  {
    testing::InSequence closing;
    EXPECT_CALL(sockets, closeSocket(kConnection));
    EXPECT_CALL(sockets, closeSocket(kListener));
    EXPECT_CALL(sockets, closeSocket(kUdp));
  }
  run();

  EXPECT_EQ(dialog.summary(), "busy-look notice:KQV:connection reset status:30 idle-look end-timer");
  EXPECT_FALSE(settings.busy);
}

// A wait or an accept that fails at once, again and again, must not turn the
// loop into a spin: the worker keeps one pass per wait.
struct RepeatedFailureCase {
  const char* name;
  net::WaitResult listenerWait;
  net::Socket accepted;
};
void PrintTo(const RepeatedFailureCase& c, std::ostream* os) { *os << c.name; }

class RepeatedFailure : public WorkerOnFakeSockets, public testing::WithParamInterface<RepeatedFailureCase> {};

TEST_P(RepeatedFailure, KeepsOnePassPerWait) {
  std::atomic<int> waits{0};
  ON_CALL(sockets, waitReadable(kListener, _, _)).WillByDefault([&](auto, auto, auto&) {
    ++waits;
    return GetParam().listenerWait;
  });
  ON_CALL(sockets, acceptConnection(_)).WillByDefault(Return(GetParam().accepted));
  std::thread cancel([&] {
    std::this_thread::sleep_for(350ms);
    settings.busy = false;
  });
  run();
  cancel.join();

  EXPECT_EQ(dialog.summary(), "busy-look idle-look end-timer");
  EXPECT_GE(waits, 3);
  EXPECT_LE(waits, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, RepeatedFailure,
    testing::Values(RepeatedFailureCase{"wait", net::WaitResult::Failed, kConnection},
                    RepeatedFailureCase{"accept", net::WaitResult::Ready, net::kInvalidSocket}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
