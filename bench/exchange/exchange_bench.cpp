// The exchange worker on the private LAN it runs in (started by ./run):
//   - reply-to-status latency against a bare TCP connect+send+receive;
//   - CPU time of the worker over a two-minute exchange with no box, and
//     with no network at all;
//   - time from stop() to a new worker listening on port 9999.
// Everything is measured in this run and printed as ratios to its target.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/net/socket_api.h"
#include "tests/net/box_process.h"
#include "tests/net/exchange_run.h"
#include "tests/net/forwarding_sockets.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr int kTrials = 30;
constexpr std::uint16_t kBarePort = 9998;

[[noreturn]] void fail(const std::string& why) {
  std::fprintf(stderr, "exchange_bench: %s\n", why.c_str());
  std::exit(1);
}

// Moves the calling thread into a named namespace (ip netns add NAME).
void joinNamespace(const std::string& name) {
  const int fd = open(("/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || setns(fd, CLONE_NEWNET) != 0) fail("cannot enter namespace " + name + ": " + std::strerror(errno));
  close(fd);
}

sockaddr_in address(std::uint32_t hostOrder, std::uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(hostOrder);
  a.sin_port = htons(port);
  return a;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The box, played by a thread in the box namespace so that its clock is
// ours: it notes the moment its reply goes out.
class ThreadBox {
 public:
  explicit ThreadBox(std::string netns) : netns_(std::move(netns)), thread_([this] { serve(); }) {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [this] { return listening_; });
  }
  ~ThreadBox() {
    stop_ = true;
    thread_.join();
  }

  std::atomic<bool> answering{false};
  Clock::time_point lastReplySent() {
    std::lock_guard lock(mutex_);
    return sent_;
  }

 private:
  void serve() {
    joinNamespace(netns_);
    const int udp = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_in any = address(INADDR_ANY, CONFIG_PORT);
    if (udp < 0 || bind(udp, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) fail("box cannot listen");
    {
      std::lock_guard lock(mutex_);
      listening_ = true;
    }
    ready_.notify_all();
    while (!stop_) {
      pollfd p{udp, POLLIN, 0};
      if (poll(&p, 1, 100) <= 0) continue;
      char request[256];
      sockaddr_in sender{};
      socklen_t size = sizeof sender;
      if (recvfrom(udp, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&sender), &size) < 0) continue;
      if (answering) reply(sender);
    }
    close(udp);
  }

  void reply(sockaddr_in to) {
    to.sin_port = htons(CONFIG_PORT);
    const int tcp = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connect(tcp, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) {
      const auto at = Clock::now();
      if (send(tcp, "CONFIG_OK", 9, MSG_NOSIGNAL) == 9) {
        std::lock_guard lock(mutex_);
        sent_ = at;
      }
    }
    close(tcp);
  }

  std::string netns_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable ready_;
  bool listening_ = false;
  Clock::time_point sent_{};
  std::thread thread_;
};

// The worker's path: the box's send until the status reaches the dialog.
double replyToStatusSeconds(ThreadBox& box) {
  box.answering = true;
  ExchangeRun run(shortTiming(3s, 1s), net::systemSockets());
  run.start();
  if (!run.finish()) fail("the exchange did not end");
  for (const auto& call : run.dialog.calls())
    if (call.what == "status:10") return Seconds(call.at - box.lastReplySent()).count();
  fail("no status 10 posted: " + run.dialog.summary());
}

// The same LAN without the worker: the box side connects, sends the token,
// and the PC side has it.
double bareRoundTripSeconds(const std::string& boxNamespace, std::uint32_t pcAddress) {
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int one = 1;
  setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  const sockaddr_in any = address(INADDR_ANY, kBarePort);
  if (bind(listener, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0 || listen(listener, SOMAXCONN) != 0)
    fail("cannot listen for the bare round trip");
  std::atomic<bool> go{false};
  Clock::time_point started;
  std::thread peer([&] {
    joinNamespace(boxNamespace);
    const sockaddr_in to = address(pcAddress, kBarePort);
    const int tcp = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    while (!go) std::this_thread::yield();
    started = Clock::now();
    if (connect(tcp, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) send(tcp, "CONFIG_OK", 9, MSG_NOSIGNAL);
    close(tcp);
  });
  go = true;
  const int connection = accept(listener, nullptr, nullptr);
  char reply[1024];
  const ssize_t n = recv(connection, reply, sizeof reply - 1, 0);
  const auto received = Clock::now();
  peer.join();
  close(connection);
  close(listener);
  if (n != 9) fail("bare round trip lost its bytes");
  return Seconds(received - started).count();
}

class ListenClock final : public ForwardingSockets {
 public:
  using ForwardingSockets::ForwardingSockets;
  bool listenMax(net::Socket s) override {
    const bool ok = ForwardingSockets::listenMax(s);
    if (ok) listening = Clock::now();
    return ok;
  }
  Clock::time_point listening{};
};

// stop() on a waiting worker, then a new one, as a new Launch does.
double stopToNewListenerSeconds(ThreadBox& box) {
  box.answering = false;
  ExchangeRun old(WorkerTiming{}, net::systemSockets());
  old.start();
  std::this_thread::sleep_for(100ms);
  ListenClock clock(net::systemSockets());
  ExchangeRun next(shortTiming(3s, 1s), clock);
  const auto stopped = Clock::now();
  old.worker().stop();
  if (!old.finish(5s)) fail("stop() did not end the worker");
  next.start(/*busy=*/false);
  if (!next.finish() || next.dialog.summary() != "busy-look idle-look end-timer")
    fail("the new worker could not take port 9999: " + next.dialog.summary());
  return Seconds(clock.listening - stopped).count();
}

// A whole exchange of `window` with nobody answering; the worker's CPU time.
double waitingCpuSeconds(Seconds window, bool noNetwork) {
  ExchangeRun run(WorkerTiming{}, net::systemSockets());
  run.start(true, [noNetwork] {
    if (noNetwork && unshare(CLONE_NEWNET) != 0) fail("cannot leave the network");
  });
  std::this_thread::sleep_for(window);
  run.clearBusy();
  if (!run.finish(30s)) fail("the waiting worker did not end");
  return run.cpu().count();
}

}  // namespace

int main(int argc, char** argv) {
  double windowSeconds = 120;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--window") == 0 && i + 1 < argc) {
      windowSeconds = std::atof(argv[++i]);
    } else {
      std::fprintf(stderr,
                   "usage: exchange_bench [--window SECONDS]\n"
                   "  SECONDS: length of the two waiting exchanges (default 120, the real one);\n"
                   "  a shorter window is measured and its CPU time scaled to 120 s.\n");
      return 2;
    }
  }
  if (windowSeconds < 10) fail("--window takes at least 10 seconds (one real wait)");
  if (std::system(NESTIQ_NETNS_DIR "/in-private-netns") != 0) fail("refusing to broadcast outside a private namespace");
  const std::string boxNamespace = lanVariable("LAN_BOX");
  in_addr pc{};
  if (boxNamespace.empty() || inet_pton(AF_INET, lanVariable("LAN_PC_IP").c_str(), &pc) != 1)
    fail("run inside with-lan, in the pc namespace (see ./run)");

  ThreadBox box(boxNamespace);
  std::vector<double> latency, bare, handover;
  for (int i = 0; i < kTrials; ++i) {
    latency.push_back(replyToStatusSeconds(box));
    bare.push_back(bareRoundTripSeconds(boxNamespace, ntohl(pc.s_addr)));
  }
  for (int i = 0; i < kTrials; ++i) handover.push_back(stopToNewListenerSeconds(box));

  box.answering = false;
  std::printf("Two waiting exchanges of %.0f s, side by side...\n", windowSeconds);
  std::fflush(stdout);
  const Seconds window(windowSeconds);
  double cpuNoNetwork = 0;
  std::thread noNetwork([&] { cpuNoNetwork = waitingCpuSeconds(window, true); });
  const double cpuNoBox = waitingCpuSeconds(window, false);
  noNetwork.join();
  const double scale = 120.0 / windowSeconds;

  const double ms = 1000;
  std::printf("\nExchange on a private LAN (%d trials each; medians)\n", kTrials);
  std::printf("  reply-to-status latency        %8.3f ms\n", median(latency) * ms);
  std::printf("  bare TCP connect+send+receive  %8.3f ms\n", median(bare) * ms);
  std::printf("  ratio                          %8.2fx   target <= 1.5x\n", median(latency) / median(bare));
  std::printf("  worker CPU, 2-minute exchange, no box      %8.4f s%s   ratio to target %.3f (< 1 = under 0.1 s)\n",
              cpuNoBox * scale, scale != 1 ? " (scaled)" : "", cpuNoBox * scale / 0.1);
  std::printf("  worker CPU, 2-minute exchange, no network  %8.4f s%s   ratio to target %.3f (< 1 = under 0.1 s)\n",
              cpuNoNetwork * scale, scale != 1 ? " (scaled)" : "", cpuNoNetwork * scale / 0.1);
  std::printf("  stop() to a new worker on port 9999  median %.3f ms, max %.3f ms   ratio to target %.3f "
              "(< 1 = under 100 ms)\n",
              median(handover) * ms, *std::max_element(handover.begin(), handover.end()) * ms,
              *std::max_element(handover.begin(), handover.end()) / 0.1);
  return 0;
}
