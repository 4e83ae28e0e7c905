#pragma once
// The main dialog: the form, Launch/Cancel, the time-out and the outcome.
#include <memory>
#include <string>

#include "exchange/exchange_status.h"
#include "exchange/exchange_worker.h"
#include "platform/net/socket_api.h"
#include "platform/wnd/dialog.h"

// Tests shorten the durations or swap the sockets; the product keeps these.
struct ExchangeSetup {
  WorkerTiming timing{};
  unsigned timeoutMs = EXCHANGE_TIMEOUT_MS;
  net::SocketApi* sockets = nullptr;  // the system's when null
};

class CNestiqDlg : public wnd::Dialog {
 public:
  explicit CNestiqDlg(wnd::Dialog* owner = nullptr, ExchangeSetup setup = {});
  ~CNestiqDlg() override;

  unsigned m_nTimerId = 0;
  wnd::IPAddressCtrl m_ipDns;
  wnd::IPAddressCtrl m_ipGateway;
  wnd::Edit m_editLicence;
  wnd::Button m_grpConfiguration;
  wnd::IPAddressCtrl m_ipMask;
  wnd::IPAddressCtrl m_ipAddress;
  wnd::Button m_btnLaunch;
  wnd::AnimateCtrl m_animBusy;
  std::string m_strLicence;  // UTF-8 as typed
  int m_hIcon;               // the icon resource, shared, never released

  bool OnInitDialog() override;
  void OnSysCommand(unsigned commandId, wnd::LPARAM lParam);
  void OnPaint();
  wnd::LRESULT OnQueryDragIcon();
  void OnVersionButton();
  void OnLaunch();
  void OnExchangeTimer(unsigned timerId);
  wnd::LRESULT OnExchangeStatus(wnd::WPARAM wParam, wnd::LPARAM lParam);

  // The worker's operations on this dialog; UI thread.
  void showBusyLook();
  void showIdleLook();
  void endExchangeTimer();

 protected:
  const wnd::MessageMap* GetMessageMap() const override;
  void DoDataExchange(wnd::DataExchange& dx) override;
  void OnDestroy() override;

 private:
  struct ExchangeRun;
  void launch();
  void cancel();
  void startWorker();
  // Ends an earlier worker at once and waits until it has let go of its
  // sockets, so that the new one can take port 9999.
  void stopEarlierWorker();
  void reportConfigured();

  ExchangeSetup setup_;
  std::shared_ptr<ExchangeRun> run_;
};
