#pragma once
// What the worker may do to the dialog, and nothing more. Each call is
// carried out on the UI thread and has happened when it returns.
#include <string>

#include "exchange/exchange_status.h"

class ExchangeDialog {
 public:
  virtual ~ExchangeDialog() = default;
  // Button caption "", animation shown and playing frames 0..last forever.
  virtual void showBusyLook() = 0;
  // Animation stopped and hidden, button caption "Lancer".
  virtual void showIdleLook() = 0;
  // Ends the stored overall timer; harmless when already ended.
  virtual void endExchangeTimer() = 0;
  // Posts WM_EXCHANGE_STATUS to the main window; never waits for its handling.
  virtual void postStatus(ExchangeStatus status) = 0;
  // An ownerless message box; returns once the user has closed it.
  virtual void showWorkerNotice(const std::string& text, const char* caption) = 0;
};
