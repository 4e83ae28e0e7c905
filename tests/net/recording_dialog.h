#pragma once
// An ExchangeDialog that writes down what the worker asks of it, in order.
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "exchange/exchange_dialog.h"

struct DialogCall {
  std::string what;  // "busy-look", "idle-look", "end-timer", "status:N", "notice:CAPTION:TEXT"
  bool busyAtCall = false;
  std::chrono::steady_clock::time_point at;
};

class RecordingDialog final : public ExchangeDialog {
 public:
  explicit RecordingDialog(std::atomic<bool>& busy) : busy_(busy) {}

  void showBusyLook() override { record("busy-look"); }
  void showIdleLook() override;
  void endExchangeTimer() override { record("end-timer"); }
  void postStatus(ExchangeStatus status) override;
  void showWorkerNotice(const std::string& text, const char* caption) override {
    record(std::string("notice:") + caption + ":" + text);
  }

  std::vector<DialogCall> calls() const;
  // The calls joined by spaces, e.g. "busy-look status:10 idle-look end-timer".
  std::string summary() const;

  // When set, a posted status and the idle look also note whether a new
  // listener could take port 9999 at that moment: "status:10(port taken)".
  bool probePort = false;

 private:
  void record(std::string what);
  std::string portNote() const;

  std::atomic<bool>& busy_;
  mutable std::mutex mutex_;
  std::vector<DialogCall> calls_;
};

// A listener like the worker's (address reuse, every address) takes port 9999.
bool port9999CanBeTaken();
