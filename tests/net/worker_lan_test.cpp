// The worker with real sockets on a private LAN, against nestiq-box.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/net/socket_api.h"
#include "tests/net/box_process.h"
#include "tests/net/exchange_run.h"
#include "tests/net/private_lan.h"

namespace {

using namespace std::chrono_literals;

class WorkerOnLan : public PrivateNetworkTest {
 protected:
  void SetUp() override {
    PrivateNetworkTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_FALSE(lanVariable("LAN_BOX").empty()) << "no box namespace: run through ctest (with-lan)";
  }
  static std::string boxNamespace() { return lanVariable("LAN_BOX"); }
};

// ---- The reply decides the status ----------------------------------------

struct ReplyCase {
  const char* name;
  std::vector<std::string> box;
  const char* calls;
};
void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

class Replies : public WorkerOnLan, public testing::WithParamInterface<ReplyCase> {};

TEST_P(Replies, GiveTheirStatusAfterOneDatagram) {
  BoxProcess box(boxNamespace(), GetParam().box);
  ASSERT_TRUE(box.listening()) << box.problem();
  ExchangeRun run(shortTiming(3s, 300ms), net::systemSockets());
  run.start();
  ASSERT_TRUE(run.finish());

  EXPECT_EQ(run.dialog.summary(), GetParam().calls);
  EXPECT_FALSE(run.settings.busy);
  EXPECT_EQ(box.requests().size(), 1u) << box.output();
}

const std::string kLongReply = "CONFIG_OK" + std::string(2000, 'A');

INSTANTIATE_TEST_SUITE_P(
    Tokens, Replies,
    testing::Values(
        ReplyCase{"ok", {"--reply", "CONFIG_OK"}, "busy-look status:10 idle-look end-timer"},
        ReplyCase{"bad_dns", {"--reply", "CONFIG_BAD_DNS"}, "busy-look status:31 idle-look end-timer"},
        ReplyCase{"bad_gateway", {"--reply", "CONFIG_BAD_GATEWAY"}, "busy-look status:32 idle-look end-timer"},
        ReplyCase{"bad_licence", {"--reply", "CONFIG_BAD_LICENCE"}, "busy-look status:33 idle-look end-timer"},
        ReplyCase{"bad_firewall", {"--reply", "CONFIG_BAD_FIREWALL"}, "busy-look status:34 idle-look end-timer"},
        ReplyCase{"bad_user", {"--reply", "CONFIG_BAD_USER"}, "busy-look status:36 idle-look end-timer"},
        ReplyCase{"zero_byte_ends_the_reply", {"--reply-bytes", "CONFIG_OK\\0junk"},
                  "busy-look status:10 idle-look end-timer"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    AnythingElse, Replies,
    testing::Values(
        ReplyCase{"crlf", {"--reply-bytes", "CONFIG_OK\\r\\n"}, "busy-look status:30 idle-look end-timer"},
        ReplyCase{"lf", {"--reply-bytes", "CONFIG_OK\\n"}, "busy-look status:30 idle-look end-timer"},
        ReplyCase{"lower_case", {"--reply-bytes", "config_ok"}, "busy-look status:30 idle-look end-timer"},
        ReplyCase{"cut_short", {"--reply-bytes", "CONFIG_O"}, "busy-look status:30 idle-look end-timer"},
        ReplyCase{"longer_than_buffer", {"--reply-bytes", kLongReply}, "busy-look status:30 idle-look end-timer"},
        ReplyCase{"empty", {"--reply-bytes", ""}, "busy-look status:30 idle-look end-timer"},
        ReplyCase{"connect_and_close", {"--close"}, "busy-look status:30 idle-look end-timer"},
        ReplyCase{"connect_and_reset",
                  {"--reset"},
                  "busy-look notice:KQV:connection reset status:30 idle-look end-timer"},
        // One receive only: the rest of the token comes too late.
        ReplyCase{"split_reply", {"--reply", "CONFIG_OK", "--split", "400"}, "busy-look status:30 idle-look end-timer"},
        // A peer that never sends is bounded, then counts as empty.
        ReplyCase{"silent_peer", {"--silent"}, "busy-look status:30 idle-look end-timer"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The datagram ---------------------------------------------------------

struct DatagramCase {
  const char* name;
  std::string licence;
  const char* address;  // all four addresses
  std::string expected;
  std::size_t size;
};
void PrintTo(const DatagramCase& c, std::ostream* os) { *os << c.name; }

class Datagram : public WorkerOnLan, public testing::WithParamInterface<DatagramCase> {};

TEST_P(Datagram, CarriesTheLineExactlyWithoutTerminator) {
  BoxProcess box(boxNamespace(), {"--reply", "CONFIG_OK"});
  ASSERT_TRUE(box.listening()) << box.problem();
  ExchangeRun run(shortTiming(3s, 300ms), net::systemSockets());
  run.setLicence(GetParam().licence.c_str());
  if (GetParam().address) {
    const char* a = GetParam().address;
    run.setAddresses(a, a, a, a);
  }
  run.start();
  ASSERT_TRUE(run.finish());

  EXPECT_EQ(run.dialog.summary(), "busy-look status:10 idle-look end-timer");
  EXPECT_EQ(box.recordedRequest(), GetParam().expected);
  EXPECT_EQ(box.recordedRequest().size(), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Datagram,
    testing::Values(
        DatagramCase{"example_62_bytes", "AB12", nullptr,
                     "config AB12 192.168.1.50 255.255.255.0 192.168.1.1 192.168.1.1", 62},
        DatagramCase{"licence_with_space", "AB 12", nullptr,
                     "config AB 12 192.168.1.50 255.255.255.0 192.168.1.1 192.168.1.1", 63},
        DatagramCase{"licence_byte_above_ascii", "caf\xE9", nullptr,
                     "config caf\xE9 192.168.1.50 255.255.255.0 192.168.1.1 192.168.1.1", 62},
        DatagramCase{"longest_120_bytes", std::string(49, 'L'), "255.255.255.255",
                     "config " + std::string(49, 'L') +
                         " 255.255.255.255 255.255.255.255 255.255.255.255 255.255.255.255",
                     120}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The rhythm of the broadcasts -----------------------------------------

TEST_F(WorkerOnLan, WithoutAnAnswerSendsOneDatagramPerWait) {
  BoxProcess box(boxNamespace(), {"--no-connect"});
  ASSERT_TRUE(box.listening()) << box.problem();
  const auto wait = 250ms;
  ExchangeRun run(shortTiming(wait, 300ms), net::systemSockets());
  run.start();
  std::this_thread::sleep_for(1100ms);
  run.clearBusy();
  ASSERT_TRUE(run.finish());

  EXPECT_EQ(run.dialog.summary(), "busy-look idle-look end-timer");
  const auto requests = box.requests();
  // Sent at 0, 250, 500, 750 and 1000 ms; the bounds leave room for a busy machine.
  ASSERT_GE(requests.size(), 3u) << box.output();
  ASSERT_LE(requests.size(), 6u) << box.output();
  for (std::size_t i = 1; i < requests.size(); ++i) {
    const double gap = requests[i].at - requests[i - 1].at;
    EXPECT_GT(gap, 0.2) << "datagram " << i << "\n" << box.output();
    EXPECT_LT(gap, 0.5) << "datagram " << i << "\n" << box.output();
  }
}

TEST_F(WorkerOnLan, BusyClearedBeforeTheFirstBroadcastSendsNothing) {
  BoxProcess box(boxNamespace(), {"--no-connect"});
  ASSERT_TRUE(box.listening()) << box.problem();
  ExchangeRun run(shortTiming(3s, 300ms), net::systemSockets());
  run.start(/*busy=*/false);
  ASSERT_TRUE(run.finish());
  std::this_thread::sleep_for(300ms);

  EXPECT_EQ(run.dialog.summary(), "busy-look idle-look end-timer");
  EXPECT_TRUE(box.requests().empty()) << box.output();
}

struct CancelCase {
  const char* name;
  std::vector<std::string> box;
  const char* calls;
};
void PrintTo(const CancelCase& c, std::ostream* os) { *os << c.name; }

class CancelDuringWait : public WorkerOnLan, public testing::WithParamInterface<CancelCase> {};

TEST_P(CancelDuringWait, StopsTheBroadcastsButKeepsALateAnswer) {
  BoxProcess box(boxNamespace(), GetParam().box);
  ASSERT_TRUE(box.listening()) << box.problem();
  ExchangeRun run(shortTiming(1000ms, 300ms), net::systemSockets());
  run.start();
  std::this_thread::sleep_for(200ms);
  run.clearBusy();
  ASSERT_TRUE(run.finish());
  std::this_thread::sleep_for(300ms);

  EXPECT_EQ(run.dialog.summary(), GetParam().calls);
  EXPECT_EQ(box.requests().size(), 1u) << box.output();
  EXPECT_FALSE(run.settings.busy);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CancelDuringWait,
    testing::Values(CancelCase{"no_answer", {"--no-connect"}, "busy-look idle-look end-timer"},
                    CancelCase{"answer_within_that_wait",
                               {"--delay", "600", "--reply", "CONFIG_BAD_DNS"},
                               "busy-look status:31 idle-look end-timer"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The end --------------------------------------------------------------

TEST_F(WorkerOnLan, EndsInOrderStatusSocketsLookTimerFlag) {
  BoxProcess box(boxNamespace(), {"--reply", "CONFIG_OK"});
  ASSERT_TRUE(box.listening()) << box.problem();
  ExchangeRun run(shortTiming(3s, 300ms), net::systemSockets());
  run.dialog.probePort = true;
  run.start();
  ASSERT_TRUE(run.finish());

  // Posted while the listener still holds the port; the sockets are closed
  // before the look changes; the flag is cleared last.
  EXPECT_EQ(run.dialog.summary(),
            "busy-look status:10(port taken) idle-look(port free) end-timer");
  for (const auto& call : run.dialog.calls()) EXPECT_TRUE(call.busyAtCall) << call.what;
  EXPECT_FALSE(run.settings.busy);
}

struct StopCase {
  const char* name;
  std::vector<std::string> box;
};
void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }

class StopFromOutside : public WorkerOnLan, public testing::WithParamInterface<StopCase> {};

TEST_P(StopFromOutside, EndsAtOnceWithoutTouchingTheDialogAndFreesThePort) {
  BoxProcess box(boxNamespace(), GetParam().box);
  ASSERT_TRUE(box.listening()) << box.problem();
  ExchangeRun run(WorkerTiming{}, net::systemSockets());  // 10-second wait and receive bound
  run.start();
  for (int i = 0; i < 200 && box.requests().empty(); ++i) std::this_thread::sleep_for(10ms);
  ASSERT_EQ(box.requests().size(), 1u) << box.output();
  std::this_thread::sleep_for(200ms);  // the box has connected, if it does

  const auto stopped = std::chrono::steady_clock::now();
  run.worker().stop();
  ASSERT_TRUE(run.finish(5s));
  EXPECT_LT(std::chrono::steady_clock::now() - stopped, 2s) << "stop() waited for the end of the wait";
  EXPECT_EQ(run.dialog.summary(), "busy-look");
  EXPECT_TRUE(run.settings.busy) << "the flag belongs to whoever stopped the worker";

  // A new exchange binds port 9999 at once.
  ExchangeRun next(shortTiming(3s, 300ms), net::systemSockets());
  next.start(/*busy=*/false);
  ASSERT_TRUE(next.finish());
  EXPECT_EQ(next.dialog.summary(), "busy-look idle-look end-timer");
}

INSTANTIATE_TEST_SUITE_P(Moments, StopFromOutside,
                         testing::Values(StopCase{"waiting_for_a_connection", {"--no-connect"}},
                                         StopCase{"receiving_from_a_silent_peer", {"--silent"}}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The real durations ---------------------------------------------------

TEST_F(WorkerOnLan, RealWaitLastsTenSecondsAfterCancel) {
  BoxProcess box(boxNamespace(), {"--no-connect"});
  ASSERT_TRUE(box.listening()) << box.problem();
  ExchangeRun run(WorkerTiming{}, net::systemSockets());
  run.start();
  std::this_thread::sleep_for(500ms);
  run.clearBusy();
  ASSERT_TRUE(run.finish(15s));

  EXPECT_EQ(run.dialog.summary(), "busy-look idle-look end-timer");
  EXPECT_GE(run.elapsed(), 9.9s);
  EXPECT_LT(run.elapsed(), 11s);
  EXPECT_EQ(box.requests().size(), 1u) << box.output();
}

}  // namespace
