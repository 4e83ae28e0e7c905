#pragma once
// Passes every call to a real SocketApi; derive to watch some of them.
#include "platform/net/socket_api.h"

class ForwardingSockets : public net::SocketApi {
 public:
  explicit ForwardingSockets(net::SocketApi& real) : real_(real) {}

  bool startLibrary() override { return real_.startLibrary(); }
  void stopLibrary() override { real_.stopLibrary(); }
  int lastError() override { return real_.lastError(); }
  std::string errorText(int error) override { return real_.errorText(error); }
  net::Socket openUdp() override { return real_.openUdp(); }
  net::Socket openTcp() override { return real_.openTcp(); }
  bool setBroadcast(net::Socket s) override { return real_.setBroadcast(s); }
  bool setReuseAddress(net::Socket s) override { return real_.setReuseAddress(s); }
  bool bindAny(net::Socket s, std::uint16_t port) override { return real_.bindAny(s, port); }
  bool listenMax(net::Socket s) override { return real_.listenMax(s); }
  std::optional<std::vector<std::uint32_t>> broadcastSources() override { return real_.broadcastSources(); }
  net::Socket openUdpBoundTo(std::uint32_t address) override { return real_.openUdpBoundTo(address); }
  long sendTo(net::Socket s, const char* data, std::size_t size, std::uint32_t address,
              std::uint16_t port) override {
    return real_.sendTo(s, data, size, address, port);
  }
  net::WaitResult waitReadable(net::Socket s, std::chrono::milliseconds limit, net::Waker& waker) override {
    return real_.waitReadable(s, limit, waker);
  }
  net::Socket acceptConnection(net::Socket listener) override { return real_.acceptConnection(listener); }
  net::ReceiveResult receiveOnce(net::Socket s, char* buffer, std::size_t size, std::chrono::milliseconds limit,
                                 net::Waker& waker, std::size_t& received) override {
    return real_.receiveOnce(s, buffer, size, limit, waker, received);
  }
  void closeSocket(net::Socket s) override { real_.closeSocket(s); }
  std::unique_ptr<net::Waker> createWaker() override { return real_.createWaker(); }

 private:
  net::SocketApi& real_;
};
