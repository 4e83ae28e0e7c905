// The worker's socket operations on Windows Sockets 2.2.
#include <winsock2.h>
#include <iphlpapi.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <vector>

#include "platform/net/socket_api.h"

namespace net {
namespace {

using Clock = std::chrono::steady_clock;

SOCKET sock(Socket s) { return static_cast<SOCKET>(s); }

// A start failure has no WSAGetLastError (the library is not there): its
// code is the one WSAStartup returned, kept for the thread that asked.
thread_local int tStartError = 0;

bool setFlagOption(SOCKET s, int option) {
  const int one = 1;  // 4 bytes, as both options expect
  return setsockopt(s, SOL_SOCKET, option, reinterpret_cast<const char*>(&one), sizeof one) == 0;
}

sockaddr_in inetAddress(std::uint32_t address, std::uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(address);
  a.sin_port = htons(port);
  return a;
}

std::string utf8(const wchar_t* text, int length) {
  if (length <= 0) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
  return out;
}

// An event that stays set once woken, so a wait that includes it ends at
// once however late it starts. Needs no socket, so it can be made before
// the library is started.
class EventWaker final : public Waker {
 public:
  explicit EventWaker(HANDLE event) : event_(event) {}
  ~EventWaker() override { CloseHandle(event_); }
  EventWaker(const EventWaker&) = delete;
  EventWaker& operator=(const EventWaker&) = delete;

  void wake() override {
    woken_ = true;
    SetEvent(event_);
  }
  bool woken() const override { return woken_; }
  HANDLE event() const { return event_; }

 private:
  HANDLE event_;
  std::atomic<bool> woken_{false};
};

enum class Waited { Ready, TimedOut, Failed, Woken };

// Readable now: a connection queued, data there, or the peer gone.
bool isReadable(SOCKET s) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval now{0, 0};
  return select(0, &set, nullptr, nullptr, &now) == 1;
}

// Waits until s (or nothing, with INVALID_SOCKET) reports one of the network
// events, the waker fires or the deadline passes. A foreign waker is looked
// at every 50 ms.
Waited waitWithWaker(SOCKET s, long events, Clock::time_point deadline, Waker& waker) {
  using namespace std::chrono;
  auto* own = dynamic_cast<EventWaker*>(&waker);
  WSAEVENT socketEvent = WSA_INVALID_EVENT;
  if (s != INVALID_SOCKET) {
    socketEvent = WSACreateEvent();
    // An event already pending (a connection queued, data there) sets it at once.
    if (socketEvent == WSA_INVALID_EVENT || WSAEventSelect(s, socketEvent, events) != 0) {
      if (socketEvent != WSA_INVALID_EVENT) WSACloseEvent(socketEvent);
      return Waited::Failed;
    }
  }
  Waited result = Waited::Failed;
  for (bool first = true;; first = false) {
    if (waker.woken()) {
      result = Waited::Woken;
      break;
    }
    // What was pending before the event was attached counts at once.
    if (first && s != INVALID_SOCKET && isReadable(s)) {
      result = Waited::Ready;
      break;
    }
    const auto left = ceil<milliseconds>(deadline - Clock::now());
    if (left <= milliseconds::zero()) {
      result = Waited::TimedOut;
      break;
    }
    HANDLE handles[2];
    DWORD count = 0;
    if (socketEvent != WSA_INVALID_EVENT) handles[count++] = socketEvent;
    const DWORD wakeIndex = count;
    if (own) handles[count++] = own->event();
    const auto slice = own ? left : std::min(left, milliseconds(50));
    const DWORD timeout = static_cast<DWORD>(std::min<long long>(slice.count(), INFINITE - 1));
    const DWORD r = count ? WaitForMultipleObjects(count, handles, FALSE, timeout) : (Sleep(timeout), WAIT_TIMEOUT);
    if (r == WAIT_TIMEOUT) continue;
    if (waker.woken() || (r == WAIT_OBJECT_0 + wakeIndex && own)) {
      result = Waited::Woken;
      break;
    }
    if (r == WAIT_OBJECT_0 && socketEvent != WSA_INVALID_EVENT) {
      result = Waited::Ready;
      break;
    }
    break;  // WAIT_FAILED
  }
  if (socketEvent != WSA_INVALID_EVENT) {
    // Back to a plain (non-blocking) socket; accepted sockets inherit nothing.
    WSAEventSelect(s, nullptr, 0);
    WSACloseEvent(socketEvent);
  }
  return result;
}

bool setNonBlocking(SOCKET s) {
  u_long on = 1;
  return ioctlsocket(s, FIONBIO, &on) == 0;
}

class WinSockets final : public SocketApi {
 public:
  bool startLibrary() override {
    WSADATA data;
    tStartError = WSAStartup(MAKEWORD(2, 2), &data);
    return tStartError == 0;
  }
  void stopLibrary() override { WSACleanup(); }
  int lastError() override { return tStartError ? tStartError : WSAGetLastError(); }

  std::string errorText(int error) override {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0,
                                   nullptr);
    std::string out = n ? utf8(text, static_cast<int>(n)) : std::string();
    if (text) LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) out.pop_back();
    return out.empty() ? "Unknown error " + std::to_string(error) : out;
  }

  Socket openUdp() override { return static_cast<Socket>(socket(AF_INET, SOCK_DGRAM, 0)); }
  Socket openTcp() override { return static_cast<Socket>(socket(AF_INET, SOCK_STREAM, 0)); }
  bool setBroadcast(Socket s) override { return setFlagOption(sock(s), SO_BROADCAST); }
  bool setReuseAddress(Socket s) override { return setFlagOption(sock(s), SO_REUSEADDR); }

  bool bindAny(Socket s, std::uint16_t port) override {
    const sockaddr_in a = inetAddress(INADDR_ANY, port);
    return bind(sock(s), reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
  }

  bool listenMax(Socket s) override {
    // accept only follows a wait that saw a connection; should it be gone
    // by then, accept fails instead of blocking. Accepted sockets inherit this.
    return listen(sock(s), SOMAXCONN) == 0 && setNonBlocking(sock(s));
  }

  std::optional<std::vector<std::uint32_t>> broadcastSources() override {
    ULONG size = 15000;
    std::vector<std::byte> buffer;
    ULONG r = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 3 && r == ERROR_BUFFER_OVERFLOW; ++attempt) {
      buffer.resize(size);
      r = GetAdaptersAddresses(AF_INET,
                               GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER,
                               nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    }
    if (r == ERROR_NO_DATA) return std::vector<std::uint32_t>{};
    if (r != NO_ERROR) return std::nullopt;
    std::vector<std::uint32_t> sources;
    for (auto* a = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data()); a; a = a->Next) {
      if (a->OperStatus != IfOperStatusUp || a->IfType == IF_TYPE_SOFTWARE_LOOPBACK) continue;
      for (auto* u = a->FirstUnicastAddress; u; u = u->Next) {
        const sockaddr* sa = u->Address.lpSockaddr;
        if (!sa || sa->sa_family != AF_INET) continue;
        sources.push_back(ntohl(reinterpret_cast<const sockaddr_in*>(sa)->sin_addr.s_addr));
      }
    }
    return sources;
  }

  Socket openUdpBoundTo(std::uint32_t address) override {
    const SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s == INVALID_SOCKET) return kInvalidSocket;
    const sockaddr_in a = inetAddress(address, 0);
    if (!setFlagOption(s, SO_BROADCAST) || bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
      const int error = WSAGetLastError();
      closesocket(s);
      WSASetLastError(error);
      return kInvalidSocket;
    }
    return static_cast<Socket>(s);
  }

  long sendTo(Socket s, const char* data, std::size_t size, std::uint32_t address, std::uint16_t port) override {
    const sockaddr_in a = inetAddress(address, port);
    const int n = sendto(sock(s), data, static_cast<int>(std::min<std::size_t>(size, INT_MAX)), 0,
                         reinterpret_cast<const sockaddr*>(&a), sizeof a);
    return n == SOCKET_ERROR ? -1 : n;
  }

  WaitResult waitReadable(Socket s, std::chrono::milliseconds limit, Waker& waker) override {
    const SOCKET target = s == kInvalidSocket ? INVALID_SOCKET : sock(s);
    switch (waitWithWaker(target, FD_ACCEPT | FD_READ | FD_CLOSE, Clock::now() + limit, waker)) {
      case Waited::Ready:
        return WaitResult::Ready;
      case Waited::TimedOut:
        return WaitResult::TimedOut;
      case Waited::Woken:
        return WaitResult::Woken;
      case Waited::Failed:
        break;
    }
    return WaitResult::Failed;
  }

  Socket acceptConnection(Socket listener) override {
    const SOCKET c = accept(sock(listener), nullptr, nullptr);
    return c == INVALID_SOCKET ? kInvalidSocket : static_cast<Socket>(c);
  }

  ReceiveResult receiveOnce(Socket s, char* buffer, std::size_t size, std::chrono::milliseconds limit, Waker& waker,
                            std::size_t& received) override {
    received = 0;
    const auto deadline = Clock::now() + limit;
    // Never block in recv: the wait below is what bounds the receive.
    if (!setNonBlocking(sock(s))) return ReceiveResult::Failed;
    for (;;) {
      switch (waitWithWaker(sock(s), FD_READ | FD_CLOSE, deadline, waker)) {
        case Waited::TimedOut:
          return ReceiveResult::TimedOut;
        case Waited::Woken:
          return ReceiveResult::Woken;
        case Waited::Failed:
          return ReceiveResult::Failed;
        case Waited::Ready:
          break;
      }
      const int n = recv(sock(s), buffer, static_cast<int>(std::min<std::size_t>(size, INT_MAX)), 0);
      if (n >= 0) {
        received = static_cast<std::size_t>(n);
        return ReceiveResult::Received;
      }
      if (WSAGetLastError() != WSAEWOULDBLOCK) return ReceiveResult::Failed;
    }
  }

  void closeSocket(Socket s) override {
    if (s != kInvalidSocket) closesocket(sock(s));
  }

  std::unique_ptr<Waker> createWaker() override {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!event) return nullptr;
    return std::make_unique<EventWaker>(event);
  }
};

}  // namespace

SocketApi& systemSockets() {
  // Never destroyed: the process ends without waiting for a worker, which
  // may still be closing its sockets while static objects are torn down.
  static WinSockets* const sockets = new WinSockets;
  return *sockets;
}

}  // namespace net
