#include "exchange/exchange_worker.h"

#include "exchange/config_request.h"
#include "exchange/reply_classifier.h"

namespace {

constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFFu;
constexpr const char* kSetUpCaption = "Tamrel";

// Stands in when the platform cannot make a waker: stop() still ends the
// worker, only at the end of its current wait.
class FlagWaker final : public net::Waker {
 public:
  void wake() override { woken_ = true; }
  bool woken() const override { return woken_; }

 private:
  std::atomic<bool> woken_{false};
};

}  // namespace

ExchangeWorker::ExchangeWorker(ExchangeDialog& dialog, net::SocketApi& sockets, std::atomic<bool>& busy,
                               const BoxSettingsRecord& settings, WorkerTiming timing, std::FILE* out)
    : dialog_(dialog), sockets_(sockets), busy_(busy), settings_(settings), timing_(timing), out_(out) {
  waker_ = sockets_.createWaker();
  if (!waker_) waker_ = std::make_unique<FlagWaker>();
}

void ExchangeWorker::stop() {
  stopped_ = true;
  waker_->wake();
}

void ExchangeWorker::notice(const std::string& text, const char* caption) {
  if (!stopped_) dialog_.showWorkerNotice(text, caption);
}

int ExchangeWorker::run() {
  if (!stopped_) dialog_.showBusyLook();
  request_ = buildConfigRequest(settings_);

  if (!sockets_.startLibrary()) {
    std::fprintf(out_, "WSAStartup failed: %s\n", sockets_.errorText(sockets_.lastError()).c_str());
    std::fflush(out_);
    sockets_.stopLibrary();
    if (!stopped_) dialog_.postStatus(StatusSocketsUnavailable);
    return 0;
  }

  udp_ = sockets_.openUdp();
  listener_ = sockets_.openTcp();
  if (!setUpSockets()) {
    // The look, the flag and the timer stay for Cancel or the time-out; the
    // sockets do not, so that port 9999 is free for the next try.
    sockets_.closeSocket(listener_);
    sockets_.closeSocket(udp_);
    return 0;
  }

  while (busy_ && !stopped_) {
    const auto deadline = std::chrono::steady_clock::now() + timing_.answerWait;
    broadcastOnce();
    if (awaitAnswer(deadline)) break;
  }
  end();
  return 0;
}

bool ExchangeWorker::setUpSockets() {
  if (udp_ == net::kInvalidSocket || listener_ == net::kInvalidSocket) {
    notice("Pas pu creer sockets", kSetUpCaption);
    return false;
  }
  if (!sockets_.setBroadcast(udp_)) {
    notice(sockets_.errorText(sockets_.lastError()), kSetUpCaption);
    return false;
  }
  if (!sockets_.setReuseAddress(listener_)) {
    notice("Pas pu reuseaddress", kSetUpCaption);
    return false;
  }
  if (!sockets_.bindAny(listener_, CONFIG_PORT)) {
    notice("Pas pu bind", kSetUpCaption);
    return false;
  }
  if (!sockets_.listenMax(listener_)) {
    notice("Pas pu listen", kSetUpCaption);
    return false;
  }
  return true;
}

bool ExchangeWorker::broadcastOnce() {
  // A datagram to the limited broadcast leaves by one card only, so it goes
  // once from each card; the plain send when the cards cannot be listed.
  const auto sources = sockets_.broadcastSources();
  if (!sources || sources->empty())
    return sockets_.sendTo(udp_, request_.data(), request_.size(), kLimitedBroadcast, CONFIG_PORT) > 0;
  bool sent = false;
  for (std::uint32_t source : *sources) {
    const net::Socket s = sockets_.openUdpBoundTo(source);
    if (s == net::kInvalidSocket) continue;
    if (sockets_.sendTo(s, request_.data(), request_.size(), kLimitedBroadcast, CONFIG_PORT) > 0) sent = true;
    sockets_.closeSocket(s);
  }
  return sent;
}

bool ExchangeWorker::awaitAnswer(std::chrono::steady_clock::time_point deadline) {
  using namespace std::chrono;
  const auto rest = [&] { return duration_cast<milliseconds>(deadline - steady_clock::now()); };
  // Failed sends, waits and accepts all fall back to waiting out the rest of
  // the period: the rhythm stays one broadcast per wait, never a tight loop.
  const auto sleepOutPeriod = [&] {
    if (rest() > milliseconds::zero()) sockets_.waitReadable(net::kInvalidSocket, rest(), *waker_);
  };
  if (rest() <= milliseconds::zero() || stopped_) return false;
  const net::WaitResult r = sockets_.waitReadable(listener_, rest(), *waker_);
  if (r == net::WaitResult::Woken || r == net::WaitResult::TimedOut) return false;
  if (r == net::WaitResult::Failed) {
    sleepOutPeriod();
    return false;
  }
  const net::Socket connection = sockets_.acceptConnection(listener_);
  if (connection == net::kInvalidSocket) {
    // A connection that cannot be taken (no descriptor left, say) keeps the
    // listener ready, so waiting on it again would spin.
    sleepOutPeriod();
    return false;
  }
  handleReply(connection);
  return true;
}

void ExchangeWorker::handleReply(net::Socket connection) {
  auto buffer = std::make_unique<char[]>(REPLY_BUFFER_SIZE);
  std::size_t received = 0;
  const net::ReceiveResult r =
      sockets_.receiveOnce(connection, buffer.get(), REPLY_BUFFER_SIZE - 1, timing_.receiveLimit, *waker_, received);
  if (r == net::ReceiveResult::Woken) {
    sockets_.closeSocket(connection);
    return;
  }
  if (r == net::ReceiveResult::Failed) notice("connection reset", "KQV");
  if (r != net::ReceiveResult::Received || received > REPLY_BUFFER_SIZE - 1) received = 0;
  buffer[received] = '\0';
  const ExchangeStatus status = classifyReply(buffer.get());
  if (!stopped_) dialog_.postStatus(status);
  buffer.reset();
  sockets_.closeSocket(connection);
}

void ExchangeWorker::end() {
  sockets_.closeSocket(listener_);
  sockets_.closeSocket(udp_);
  listener_ = udp_ = net::kInvalidSocket;
  if (stopped_) return;
  dialog_.showIdleLook();
  dialog_.endExchangeTimer();
  busy_ = false;
}
