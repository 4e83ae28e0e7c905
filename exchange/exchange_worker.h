#pragma once
// One configuration exchange: broadcast the request every wait period until
// the box connects back or the busy flag is cleared, then report its reply.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "exchange/exchange_dialog.h"
#include "exchange/exchange_status.h"
#include "platform/net/socket_api.h"
#include "settings/box_settings.h"

struct WorkerTiming {
  // One broadcast per wait; the product never changes these.
  std::chrono::milliseconds answerWait{ANSWER_WAIT_SECONDS * 1000};
  // A peer that connects and stays silent counts as an empty reply after this.
  std::chrono::milliseconds receiveLimit{ANSWER_WAIT_SECONDS * 1000};
};

class ExchangeWorker {
 public:
  ExchangeWorker(ExchangeDialog& dialog, net::SocketApi& sockets, std::atomic<bool>& busy,
                 const BoxSettingsRecord& settings, WorkerTiming timing = {}, std::FILE* out = stdout);
  ExchangeWorker(const ExchangeWorker&) = delete;
  ExchangeWorker& operator=(const ExchangeWorker&) = delete;

  // The thread's body; returns 0 on every path.
  int run();

  // From any thread: the worker leaves its wait at once, closes its sockets
  // and ends without touching the dialog or the flag again.
  void stop();
  bool stopped() const { return stopped_; }

 private:
  bool setUpSockets();
  bool broadcastOnce();
  // Waits on the listener until the pass deadline; true when a reply was handled.
  bool awaitAnswer(std::chrono::steady_clock::time_point deadline);
  void handleReply(net::Socket connection);
  void end();
  void notice(const std::string& text, const char* caption);

  ExchangeDialog& dialog_;
  net::SocketApi& sockets_;
  std::atomic<bool>& busy_;
  const BoxSettingsRecord& settings_;
  WorkerTiming timing_;
  std::FILE* out_;
  std::unique_ptr<net::Waker> waker_;
  std::atomic<bool> stopped_{false};
  std::string request_;
  net::Socket udp_ = net::kInvalidSocket;
  net::Socket listener_ = net::kInvalidSocket;
};
