#include "tests/net/hostile_peer.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

sockaddr_in socketAddress(std::uint32_t address, std::uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(address);
  a.sin_port = htons(port);
  return a;
}

}  // namespace

int openDescriptors() {
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return -1;
  int count = 0;
  while (const dirent* e = readdir(dir))
    if (e->d_name[0] != '.') ++count;
  closedir(dir);
  return count - 1;  // the one opendir itself holds
}

PeerThread::PeerThread(const std::string& netns, std::function<void(PeerThread&)> body) {
  thread_ = std::thread([this, path = "/run/netns/" + netns, body = std::move(body)] {
    const int ns = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (ns < 0) return;
    const bool entered = setns(ns, CLONE_NEWNET) == 0;
    close(ns);
    if (!entered) return;
    joined_ = true;
    body(*this);
  });
}

PeerThread::~PeerThread() { stop(); }

void PeerThread::stop() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
}

bool PeerThread::waitReady(std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!ready_ && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  return ready_;
}

void PeerThread::idle(std::chrono::milliseconds time) const {
  const auto end = std::chrono::steady_clock::now() + time;
  while (!stopping_ && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

int connectTo(std::uint32_t address, std::uint16_t port, std::chrono::milliseconds limit) {
  const sockaddr_in to = socketAddress(address, port);
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
      ADD_FAILURE() << "socket: " << std::strerror(errno);
      return -1;
    }
    if (connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return fd;
    close(fd);
    if (std::chrono::steady_clock::now() >= end) {
      ADD_FAILURE() << "could not connect to port " << port << ": " << std::strerror(errno);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));  // the listener is not up yet
  }
}

int tryConnect(std::uint32_t address, std::uint16_t port) {
  const sockaddr_in to = socketAddress(address, port);
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return fd;
  close(fd);
  return -1;
}

bool sendAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;  // the worker has closed: that is its right
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void closeWithReset(int fd) {
  const linger abort{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
  close(fd);
}

long floodConnections(PeerThread& self, std::uint32_t address, std::uint16_t port, int count) {
  const sockaddr_in to = socketAddress(address, port);
  std::vector<int> open, pending;
  long established = 0;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!self.stopping() && std::chrono::steady_clock::now() < end &&
         (static_cast<int>(open.size()) < count || !pending.empty())) {
    // Fifty more at a time, without waiting for the handshakes.
    for (int i = 0; i < 50 && static_cast<int>(open.size()) < count; ++i) {
      const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
      if (fd < 0) break;
      open.push_back(fd);
      if (connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0)
        ++established;
      else if (errno == EINPROGRESS)
        pending.push_back(fd);
    }
    std::vector<pollfd> fds;
    for (int fd : pending) fds.push_back({fd, POLLOUT, 0});
    if (poll(fds.data(), fds.size(), 20) <= 0) continue;
    pending.clear();
    for (const pollfd& p : fds) {
      if (!(p.revents & (POLLOUT | POLLERR | POLLHUP))) {
        pending.push_back(p.fd);
        continue;
      }
      int error = 0;
      socklen_t size = sizeof error;
      getsockopt(p.fd, SOL_SOCKET, SO_ERROR, &error, &size);
      if (error == 0) ++established;
    }
  }
  self.ready();
  self.idle(std::chrono::hours(1));
  for (int fd : open) close(fd);
  return established;
}

long datagramStorm(PeerThread& self, std::uint32_t address, const std::vector<std::uint16_t>& ports) {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    ADD_FAILURE() << "socket: " << std::strerror(errno);
    return 0;
  }
  // Small and large, empty, and ones that look like an answer.
  const std::string payloads[] = {"", "CONFIG_OK", "CONFIG_BAD_DNS\r\n", std::string(512, 'x'),
                                  std::string(1472, '\xFF'), std::string(65507, 'A')};
  long sent = 0;
  for (std::size_t i = 0; !self.stopping(); ++i) {
    const std::string& p = payloads[i % std::size(payloads)];
    const sockaddr_in to = socketAddress(address, ports[i % ports.size()]);
    if (sendto(fd, p.data(), p.size(), MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&to), sizeof to) >= 0) ++sent;
    if (i % 64 == 0) self.ready();
  }
  close(fd);
  return sent;
}

long HookedSockets::sendTo(net::Socket s, const char* data, std::size_t size, std::uint32_t address,
                           std::uint16_t port) {
  const bool first = !sent_.exchange(true);
  if (first && beforeFirstBroadcast) beforeFirstBroadcast();
  const long n = ForwardingSockets::sendTo(s, data, size, address, port);
  if (first && afterFirstBroadcast) afterFirstBroadcast();
  return n;
}
