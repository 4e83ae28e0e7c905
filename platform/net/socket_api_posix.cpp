// The worker's socket operations on POSIX sockets.
#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/net/socket_api.h"

namespace net {
namespace {

using Clock = std::chrono::steady_clock;

// No socket of ours may leak into a program started meanwhile.
void setCloseOnExec(int fd) {
  const int flags = fcntl(fd, F_GETFD);
  if (flags >= 0) fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
}

int newSocket(int type) {
#ifdef SOCK_CLOEXEC
  return socket(AF_INET, type | SOCK_CLOEXEC, 0);
#else
  const int fd = socket(AF_INET, type, 0);
  if (fd >= 0) setCloseOnExec(fd);
  return fd;
#endif
}

bool setFlagOption(int fd, int option) {
  const int one = 1;  // 4 bytes, as both options expect
  return setsockopt(fd, SOL_SOCKET, option, &one, sizeof one) == 0;
}

sockaddr_in inetAddress(std::uint32_t address, std::uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(address);
  a.sin_port = htons(port);
  return a;
}

// Both GNU and XSI strerror_r, without caring which one the headers chose.
[[maybe_unused]] const char* errorTextOf(int result, const char* buffer) { return result == 0 ? buffer : nullptr; }
[[maybe_unused]] const char* errorTextOf(const char* result, const char*) { return result; }

// A pipe that turns readable for good on wake(), so a poll that includes it
// ends at once however late it starts.
class PipeWaker final : public Waker {
 public:
  PipeWaker(int readEnd, int writeEnd) : read_(readEnd), write_(writeEnd) {}
  ~PipeWaker() override {
    close(read_);
    close(write_);
  }
  PipeWaker(const PipeWaker&) = delete;
  PipeWaker& operator=(const PipeWaker&) = delete;

  void wake() override {
    woken_ = true;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(write_, &byte, 1);  // a full pipe is readable already
  }
  bool woken() const override { return woken_; }
  int fd() const { return read_; }

 private:
  int read_;
  int write_;
  std::atomic<bool> woken_{false};
};

enum class Polled { Readable, Trouble, TimedOut, Failed, Woken };

// Waits until fd (or nothing, with -1) has input or trouble, the waker
// fires or the deadline passes. A foreign waker is looked at every 50 ms.
Polled pollWithWaker(int fd, Clock::time_point deadline, Waker& waker) {
  using namespace std::chrono;
  auto* pipe = dynamic_cast<PipeWaker*>(&waker);
  for (;;) {
    if (waker.woken()) return Polled::Woken;
    const auto left = ceil<milliseconds>(deadline - Clock::now());
    if (left <= milliseconds::zero()) return Polled::TimedOut;
    pollfd fds[2];
    nfds_t count = 0;
    if (fd >= 0) fds[count++] = {fd, POLLIN, 0};
    const nfds_t wakeIndex = count;
    if (pipe) fds[count++] = {pipe->fd(), POLLIN, 0};
    const auto slice = pipe ? left : std::min(left, milliseconds(50));
    const int timeout = static_cast<int>(std::min<long long>(slice.count(), INT_MAX));
    const int r = poll(fds, count, timeout);
    if (r < 0) {
      if (errno == EINTR) continue;
      return Polled::Failed;
    }
    if (r == 0) continue;
    if (pipe && fds[wakeIndex].revents != 0) return Polled::Woken;
    if (fd >= 0 && (fds[0].revents & POLLIN)) return Polled::Readable;
    if (fd >= 0 && fds[0].revents != 0) return Polled::Trouble;
  }
}

class PosixSockets final : public SocketApi {
 public:
  bool startLibrary() override { return true; }
  void stopLibrary() override {}
  int lastError() override { return errno; }

  std::string errorText(int error) override {
    char buffer[256] = "";
    const char* text = errorTextOf(strerror_r(error, buffer, sizeof buffer), buffer);
    return text ? text : "Unknown error " + std::to_string(error);
  }

  Socket openUdp() override { return newSocket(SOCK_DGRAM); }
  Socket openTcp() override { return newSocket(SOCK_STREAM); }
  bool setBroadcast(Socket s) override { return setFlagOption(fd(s), SO_BROADCAST); }
  bool setReuseAddress(Socket s) override { return setFlagOption(fd(s), SO_REUSEADDR); }

  bool bindAny(Socket s, std::uint16_t port) override {
    const sockaddr_in a = inetAddress(INADDR_ANY, port);
    return bind(fd(s), reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
  }

  bool listenMax(Socket s) override {
    if (listen(fd(s), SOMAXCONN) != 0) return false;
    // accept only follows a poll that saw a connection; should that
    // connection be gone by then, accept fails instead of blocking.
    const int flags = fcntl(fd(s), F_GETFL);
    return flags >= 0 && fcntl(fd(s), F_SETFL, flags | O_NONBLOCK) == 0;
  }

  std::optional<std::vector<std::uint32_t>> broadcastSources() override {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return std::nullopt;
    std::vector<std::uint32_t> sources;
    for (const ifaddrs* i = list; i; i = i->ifa_next) {
      if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
      if (!(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK)) continue;
      sources.push_back(ntohl(reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr));
    }
    freeifaddrs(list);
    return sources;
  }

  Socket openUdpBoundTo(std::uint32_t address) override {
    const int s = newSocket(SOCK_DGRAM);
    if (s < 0) return kInvalidSocket;
    const sockaddr_in a = inetAddress(address, 0);
    if (!setFlagOption(s, SO_BROADCAST) || bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
      const int error = errno;
      close(s);
      errno = error;
      return kInvalidSocket;
    }
    return s;
  }

  long sendTo(Socket s, const char* data, std::size_t size, std::uint32_t address, std::uint16_t port) override {
    const sockaddr_in a = inetAddress(address, port);
    for (;;) {
      const ssize_t n = sendto(fd(s), data, size, 0, reinterpret_cast<const sockaddr*>(&a), sizeof a);
      if (n >= 0 || errno != EINTR) return static_cast<long>(n);
    }
  }

  WaitResult waitReadable(Socket s, std::chrono::milliseconds limit, Waker& waker) override {
    switch (pollWithWaker(s == kInvalidSocket ? -1 : fd(s), Clock::now() + limit, waker)) {
      case Polled::Readable:
        return WaitResult::Ready;
      case Polled::TimedOut:
        return WaitResult::TimedOut;
      case Polled::Woken:
        return WaitResult::Woken;
      case Polled::Trouble:
      case Polled::Failed:
        break;
    }
    return WaitResult::Failed;
  }

  Socket acceptConnection(Socket listener) override {
    for (;;) {
#ifdef SOCK_CLOEXEC
      const int c = accept4(fd(listener), nullptr, nullptr, SOCK_CLOEXEC);
#else
      const int c = accept(fd(listener), nullptr, nullptr);
      if (c >= 0) setCloseOnExec(c);
#endif
      if (c >= 0) return c;
      if (errno != EINTR) return kInvalidSocket;
    }
  }

  ReceiveResult receiveOnce(Socket s, char* buffer, std::size_t size, std::chrono::milliseconds limit, Waker& waker,
                            std::size_t& received) override {
    received = 0;
    const auto deadline = Clock::now() + limit;
    for (;;) {
      switch (pollWithWaker(fd(s), deadline, waker)) {
        case Polled::TimedOut:
          return ReceiveResult::TimedOut;
        case Polled::Woken:
          return ReceiveResult::Woken;
        case Polled::Failed:
          return ReceiveResult::Failed;
        case Polled::Readable:
        case Polled::Trouble:  // recv tells what the trouble is
          break;
      }
      const ssize_t n = recv(fd(s), buffer, size, MSG_DONTWAIT);
      if (n >= 0) {
        received = static_cast<std::size_t>(n);
        return ReceiveResult::Received;
      }
      if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return ReceiveResult::Failed;
    }
  }

  void closeSocket(Socket s) override {
    if (s != kInvalidSocket) close(fd(s));
  }

  std::unique_ptr<Waker> createWaker() override {
    int ends[2];
    if (pipe(ends) != 0) return nullptr;
    for (int end : ends) setCloseOnExec(end);
    const int flags = fcntl(ends[1], F_GETFL);
    if (flags >= 0) fcntl(ends[1], F_SETFL, flags | O_NONBLOCK);
    return std::make_unique<PipeWaker>(ends[0], ends[1]);
  }

 private:
  static int fd(Socket s) { return static_cast<int>(s); }
};

}  // namespace

SocketApi& systemSockets() {
  // Never destroyed: the process ends without waiting for a worker, which
  // may still be closing its sockets while static objects are torn down.
  static PosixSockets* const sockets = new PosixSockets;
  return *sockets;
}

}  // namespace net
