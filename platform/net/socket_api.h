#pragma once
// The socket operations the exchange worker needs, shaped so that both
// Winsock and POSIX sockets fit. Addresses and ports are in host order.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace net {

using Socket = std::intptr_t;
inline constexpr Socket kInvalidSocket = -1;

// Lets another thread cut a wait short (a newer exchange, a closed dialog).
class Waker {
 public:
  virtual ~Waker() = default;
  virtual void wake() = 0;
  virtual bool woken() const = 0;
};

enum class WaitResult { Ready, TimedOut, Failed, Woken };

enum class ReceiveResult { Received, Failed, TimedOut, Woken };

class SocketApi {
 public:
  virtual ~SocketApi() = default;

  // Socket library start (WSAStartup 2.2) and its clean-up; POSIX has none.
  virtual bool startLibrary() = 0;
  virtual void stopLibrary() = 0;
  // Last error number of the socket library, and its standard text.
  virtual int lastError() = 0;
  virtual std::string errorText(int error) = 0;

  virtual Socket openUdp() = 0;
  virtual Socket openTcp() = 0;
  virtual bool setBroadcast(Socket s) = 0;
  virtual bool setReuseAddress(Socket s) = 0;
  // Binds to every local address (INADDR_ANY) on the port.
  virtual bool bindAny(Socket s, std::uint16_t port) = 0;
  virtual bool listenMax(Socket s) = 0;  // backlog SOMAXCONN

  // Addresses of the up, non-loopback IPv4 adapters; nullopt when they
  // cannot be listed.
  virtual std::optional<std::vector<std::uint32_t>> broadcastSources() = 0;
  // A UDP socket with broadcast permission bound to one local address.
  virtual Socket openUdpBoundTo(std::uint32_t address) = 0;

  // One datagram; the count sent, or -1.
  virtual long sendTo(Socket s, const char* data, std::size_t size, std::uint32_t address,
                      std::uint16_t port) = 0;
  // Waits for s to become readable (a pending connection on a listener).
  // With s == kInvalidSocket it only sleeps, waking early for the waker.
  virtual WaitResult waitReadable(Socket s, std::chrono::milliseconds limit, Waker& waker) = 0;
  virtual Socket acceptConnection(Socket listener) = 0;
  // One receive of at most size bytes, bounded in time; received set to the count.
  virtual ReceiveResult receiveOnce(Socket s, char* buffer, std::size_t size, std::chrono::milliseconds limit,
                                    Waker& waker, std::size_t& received) = 0;
  virtual void closeSocket(Socket s) = 0;

  virtual std::unique_ptr<Waker> createWaker() = 0;
};

// The platform's implementation (POSIX or Winsock).
SocketApi& systemSockets();

}  // namespace net
