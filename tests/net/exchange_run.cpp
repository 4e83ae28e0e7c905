#include "tests/net/exchange_run.h"

#include <time.h>

ExchangeRun::ExchangeRun(WorkerTiming timing, net::SocketApi& sockets) : timing_(timing), sockets_(sockets) {
  setLicence("AB12");
  setAddresses("192.168.1.50", "255.255.255.0", "192.168.1.1", "192.168.1.1");
}

ExchangeRun::~ExchangeRun() {
  if (thread_.joinable()) {
    worker_->stop();
    thread_.join();
  }
}

void ExchangeRun::setLicence(const char* licence) { copyToField(settings.licence, licence); }

void ExchangeRun::setAddresses(const char* boxIp, const char* mask, const char* gateway, const char* dns) {
  copyToField(settings.boxIp, boxIp);
  copyToField(settings.mask, mask);
  copyToField(settings.gateway, gateway);
  copyToField(settings.dns, dns);
}

void ExchangeRun::start(bool busy, std::function<void()> prelude) {
  settings.busy = busy;
  worker_.emplace(dialog, sockets_, settings.busy, settings, timing_);
  std::promise<void> done;
  done_ = done.get_future();
  started_ = std::chrono::steady_clock::now();
  thread_ = std::thread([this, prelude = std::move(prelude), done = std::move(done)]() mutable {
    if (prelude) prelude();
    worker_->run();
    ended_ = std::chrono::steady_clock::now();
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    cpu_ = std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
    done.set_value();
  });
}

bool ExchangeRun::finish(std::chrono::milliseconds limit) {
  if (!thread_.joinable()) return true;
  const bool inTime = done_.wait_for(limit) == std::future_status::ready;
  if (!inTime) worker_->stop();
  thread_.join();
  return inTime;
}

WorkerTiming shortTiming(std::chrono::milliseconds wait, std::chrono::milliseconds receiveLimit) {
  WorkerTiming t;
  t.answerWait = wait;
  t.receiveLimit = receiveLimit;
  return t;
}
