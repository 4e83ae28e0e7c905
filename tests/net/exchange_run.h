#pragma once
// One ExchangeWorker on its own thread, as Launch starts it, with the
// example settings and a recording dialog.
#include <chrono>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <thread>

#include "exchange/exchange_worker.h"
#include "tests/net/recording_dialog.h"

class ExchangeRun {
 public:
  explicit ExchangeRun(WorkerTiming timing, net::SocketApi& sockets);
  ~ExchangeRun();

  void setLicence(const char* licence);
  void setAddresses(const char* boxIp, const char* mask, const char* gateway, const char* dns);

  // Sets the busy flag (unless told not to) and starts the worker; first
  // runs prelude on the worker's thread (to move it to another namespace).
  void start(bool busy = true, std::function<void()> prelude = {});
  // Waits for the worker's run() to return; false if it has not within limit.
  bool finish(std::chrono::milliseconds limit = std::chrono::seconds(30));
  void clearBusy() { settings.busy = false; }
  ExchangeWorker& worker() { return *worker_; }

  // From start() to the end of run(), and the worker thread's CPU time.
  std::chrono::duration<double> elapsed() const { return ended_ - started_; }
  std::chrono::duration<double> cpu() const { return cpu_; }

  BoxSettingsRecord settings{};
  RecordingDialog dialog{settings.busy};

 private:
  WorkerTiming timing_;
  net::SocketApi& sockets_;
  std::optional<ExchangeWorker> worker_;
  std::thread thread_;
  std::future<void> done_;
  std::chrono::steady_clock::time_point started_, ended_;
  std::chrono::duration<double> cpu_{};
};

// Short periods for most cases: one wait, and the bound on a silent peer.
WorkerTiming shortTiming(std::chrono::milliseconds wait, std::chrono::milliseconds receiveLimit);
