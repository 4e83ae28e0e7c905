#pragma once
// Carries a worker's dialog operations over to the UI thread, one at a time
// and in order, waiting for each. Cutting the link (a newer exchange, a
// closed dialog) makes every later call, and any call still waiting, return
// at once without touching the dialog.
#include <functional>
#include <memory>
#include <string>

#include "exchange/exchange_dialog.h"

struct DialogOperations {
  std::function<void()> showBusyLook;
  std::function<void()> showIdleLook;
  std::function<void()> endExchangeTimer;
  // Thread-safe post of WM_EXCHANGE_STATUS; called from the worker.
  std::function<void(ExchangeStatus)> postStatus;
  // Shows an ownerless box without blocking the UI thread; closed() runs
  // on the UI thread once the user has closed it.
  std::function<void(const std::string& text, const char* caption, std::function<void()> closed)> showNotice;
};

struct UiThread {
  std::function<void(std::function<void()>)> post;  // never blocks
  std::function<bool()> isCurrent;
};

class WorkerLink final : public ExchangeDialog {
 public:
  WorkerLink(UiThread ui, DialogOperations ops);
  ~WorkerLink() override;

  // UI thread or any: from now on nothing reaches the dialog.
  void cut();
  bool isCut() const;

  void showBusyLook() override;
  void showIdleLook() override;
  void endExchangeTimer() override;
  void postStatus(ExchangeStatus status) override;
  void showWorkerNotice(const std::string& text, const char* caption) override;

 private:
  struct State;
  // Runs task on the UI thread; task gets a function to call when done.
  void runAndWait(std::function<void(std::function<void()>)> task);

  UiThread ui_;
  std::shared_ptr<State> state_;
};
