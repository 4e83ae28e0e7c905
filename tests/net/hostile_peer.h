#pragma once
// Peers that do not play by the protocol, run as threads of the test inside
// the box's network namespace, and the count of this process's descriptors.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/net/forwarding_sockets.h"

// Entries of /proc/self/fd.
int openDescriptors();

// A thread of this process inside network namespace `netns` (a name that
// `ip netns` knows), so that its sockets live on the box's side of the LAN.
class PeerThread {
 public:
  PeerThread(const std::string& netns, std::function<void(PeerThread&)> body);
  ~PeerThread();
  PeerThread(const PeerThread&) = delete;
  PeerThread& operator=(const PeerThread&) = delete;

  // Asks the body to end and waits for it.
  void stop();
  bool stopping() const { return stopping_; }
  // Waits until the body has called ready() (true), or the limit passes.
  bool waitReady(std::chrono::milliseconds limit = std::chrono::seconds(10));
  void ready() { ready_ = true; }
  // False when the namespace could not be joined (the body then never ran).
  bool joined() const { return joined_; }
  // Sleeps up to `time`, ending early when asked to stop.
  void idle(std::chrono::milliseconds time) const;

 private:
  std::atomic<bool> stopping_{false};
  std::atomic<bool> ready_{false};
  std::atomic<bool> joined_{false};
  std::thread thread_;
};

// Box-side actions; addresses in host order. Each fails the current test
// (and returns -1 or 0) when the system refuses it.
int connectTo(std::uint32_t address, std::uint16_t port, std::chrono::milliseconds limit);
// One attempt, no test failure when refused (the worker may have ended).
int tryConnect(std::uint32_t address, std::uint16_t port);
bool sendAll(int fd, const std::string& bytes);
// Closes with a reset instead of the orderly end.
void closeWithReset(int fd);
// Opens `count` connections to address:port, fifty at a time without
// waiting for their handshakes, says ready() and holds them, silent, until
// asked to stop. Returns how many were established.
long floodConnections(PeerThread& self, std::uint32_t address, std::uint16_t port, int count);

// Sends datagrams to address on the ports in turn, as fast as it can, until
// asked to stop; returns how many went out.
long datagramStorm(PeerThread& self, std::uint32_t address, const std::vector<std::uint16_t>& ports);

// Sockets that call hooks around the worker's first broadcast, on its thread.
class HookedSockets final : public ForwardingSockets {
 public:
  using ForwardingSockets::ForwardingSockets;
  long sendTo(net::Socket s, const char* data, std::size_t size, std::uint32_t address,
              std::uint16_t port) override;

  std::function<void()> beforeFirstBroadcast;
  std::function<void()> afterFirstBroadcast;

 private:
  std::atomic<bool> sent_{false};
};
