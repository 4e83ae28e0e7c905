#include "ui/nestiq_dlg.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/shell/shell.h"
#include "platform/wnd/app.h"
#include "platform/wnd/platform.h"
#include "settings/box_settings.h"
#include "ui/about_dlg.h"
#include "ui/configured_dlg.h"
#include "ui/control_ids.h"
#include "ui/desktop_shortcut.h"
#include "ui/dialog_logic.h"
#include "ui/form_capture.h"
#include "ui/launch_validation.h"
#include "ui/outcome_texts.h"
#include "ui/status_table.h"
#include "ui/windows1252.h"
#include "ui/worker_link.h"

namespace {
constexpr const char* kLaunchCaption = "Lancer";
// An earlier worker told to stop leaves within milliseconds; this only
// bounds the wait should it not.
constexpr auto kStopWaitLimit = std::chrono::seconds(3);

AddressInputState inputState(const wnd::IPAddressCtrl& input) { return {input.IsBlank(), input.GetAddress()}; }
}  // namespace

struct CNestiqDlg::ExchangeRun {
  ExchangeRun(UiThread ui, DialogOperations ops, net::SocketApi& sockets, WorkerTiming timing)
      : link(std::move(ui), std::move(ops)), worker(link, sockets, BoxSettings.busy, BoxSettings, timing) {}

  void finish() {
    {
      std::lock_guard lock(mutex);
      finished = true;
    }
    ended.notify_all();
  }
  bool waitFinished(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex);
    return ended.wait_for(lock, limit, [&] { return finished; });
  }

  WorkerLink link;
  ExchangeWorker worker;
  std::mutex mutex;
  std::condition_variable ended;
  bool finished = false;
};

CNestiqDlg::CNestiqDlg(wnd::Dialog* owner, ExchangeSetup setup)
    : wnd::Dialog(IDD_NESTIQ_DIALOG, owner), m_hIcon(IDR_MAINFRAME), setup_(setup) {}

CNestiqDlg::~CNestiqDlg() { DestroyWindow(); }

const wnd::MessageMap* CNestiqDlg::GetMessageMap() const {
  static const wnd::MessageMapEntry entries[] = {
      wnd::OnSysCommandEntry<CNestiqDlg, &CNestiqDlg::OnSysCommand>(),
      wnd::OnPaintEntry<CNestiqDlg, &CNestiqDlg::OnPaint>(),
      wnd::OnQueryDragIconEntry<CNestiqDlg, &CNestiqDlg::OnQueryDragIcon>(),
      wnd::OnButtonClicked<CNestiqDlg, &CNestiqDlg::OnLaunch>(IDC_LAUNCH),
      wnd::OnButtonClicked<CNestiqDlg, &CNestiqDlg::OnVersionButton>(IDC_VERSION),
      wnd::OnMessageEntry<CNestiqDlg, &CNestiqDlg::OnExchangeStatus>(WM_EXCHANGE_STATUS),
      wnd::OnTimerEntry<CNestiqDlg, &CNestiqDlg::OnExchangeTimer>(),
  };
  static const wnd::MessageMap map{wnd::Dialog::BaseMessageMap(), entries};
  return &map;
}

void CNestiqDlg::DoDataExchange(wnd::DataExchange& dx) {
  wnd::Dialog::DoDataExchange(dx);
  wnd::DDX_Control(dx, IDC_DNS, m_ipDns);
  wnd::DDX_Control(dx, IDC_GATEWAY, m_ipGateway);
  wnd::DDX_Control(dx, IDC_LICENCE, m_editLicence);
  wnd::DDX_Control(dx, IDC_CONFIGURATION, m_grpConfiguration);
  wnd::DDX_Control(dx, IDC_MASK, m_ipMask);
  wnd::DDX_Control(dx, IDC_IPADDRESS, m_ipAddress);
  wnd::DDX_Control(dx, IDC_LAUNCH, m_btnLaunch);
  wnd::DDX_Control(dx, IDC_BUSY_ANIMATION, m_animBusy);
  wnd::DDX_Text(dx, IDC_LICENCE, m_strLicence);
}

bool CNestiqDlg::OnInitDialog() {
  wnd::Dialog::OnInitDialog();

  if (wnd::WindowHost* h = host(); h && h->hasSystemMenu()) {
    const std::string about = wnd::LoadString(IDS_ABOUTBOX);
    if (!about.empty()) {
      h->appendSystemMenuSeparator();
      h->appendSystemMenuItem(IDM_ABOUTBOX, about);
    }
  }

  SetIcon(m_hIcon, true);
  SetIcon(m_hIcon, false);

  m_animBusy.Open(IDR_BUSY_CLIP);
  m_animBusy.ShowWindow(wnd::SW_HIDE);

  const PrefillValues prefill = prefillValues(BoxSettings);
  m_ipAddress.SetAddress(prefill.boxIp);
  m_ipMask.SetAddress(prefill.mask);
  m_ipGateway.SetAddress(prefill.gateway);
  m_ipDns.SetAddress(prefill.dns);
  return true;
}

void CNestiqDlg::OnSysCommand(unsigned commandId, wnd::LPARAM) {
  if (isAboutCommand(commandId))
    OnVersionButton();
  else
    Default();
}

void CNestiqDlg::OnPaint() {
  wnd::WindowHost* h = host();
  if (!h || !IsIconic()) {
    Default();
    return;
  }
  h->paintMinimisedIcon(m_hIcon, [](int clientWidth, int clientHeight, int iconWidth, int iconHeight) {
    const IconPosition at = minimisedIconPosition(clientWidth, clientHeight, iconWidth, iconHeight);
    return wnd::Point{at.x, at.y};
  });
}

// The picture shown while the minimised window is dragged.
wnd::LRESULT CNestiqDlg::OnQueryDragIcon() {
  wnd::WindowHost* h = host();
  return h ? h->iconHandle(m_hIcon) : 0;
}

void CNestiqDlg::OnVersionButton() {
  CAboutDlg about;
  about.DoModal();
}

void CNestiqDlg::OnLaunch() {
  if (BoxSettings.busy)
    cancel();
  else
    launch();
}

void CNestiqDlg::cancel() {
  BoxSettings.busy = false;
  m_animBusy.Stop();
  m_animBusy.ShowWindow(wnd::SW_HIDE);
  m_btnLaunch.SetWindowText(kLaunchCaption);
  KillTimer(m_nTimerId);
}

void CNestiqDlg::launch() {
  UpdateData(true);
  const LaunchForm form{m_strLicence, inputState(m_ipAddress), inputState(m_ipMask), inputState(m_ipGateway),
                        inputState(m_ipDns)};
  if (const auto failure = validateLaunchForm(form, BoxSettings)) {
    MessageBox(failure->message, VALIDATION_CAPTION);
    if (wnd::WindowHost* h = host()) h->focusControl(failure->focusControl);
    return;
  }

  stopEarlierWorker();
  const std::string licence = m_editLicence.GetWindowText();
  captureForm({m_ipAddress.GetAddressFields(), m_ipMask.GetAddressFields(), m_ipGateway.GetAddressFields(),
               m_ipDns.GetAddressFields(), utf8ToWindows1252(licence)},
              BoxSettings);
  BoxSettings.busy = true;
  startWorker();
  m_nTimerId = SetTimer(EXCHANGE_TIMER_ID, setup_.timeoutMs);
}

void CNestiqDlg::startWorker() {
  DialogOperations ops;
  ops.showBusyLook = [this] { showBusyLook(); };
  ops.showIdleLook = [this] { showIdleLook(); };
  ops.endExchangeTimer = [this] { endExchangeTimer(); };
  ops.postStatus = [](ExchangeStatus status) {
    if (wnd::Dialog* main = wnd::AfxGetMainWnd()) main->PostMessage(WM_EXCHANGE_STATUS, status, 0);
  };
  ops.showNotice = [](const std::string& text, const char* caption, std::function<void()> closed) {
    wnd::messageBoxes().showModeless(text, caption, std::move(closed));
  };
  UiThread ui{[](std::function<void()> fn) { wnd::postToUiThread(std::move(fn)); }, [] { return wnd::onUiThread(); }};
  net::SocketApi& sockets = setup_.sockets ? *setup_.sockets : net::systemSockets();

  auto run = std::make_shared<ExchangeRun>(std::move(ui), std::move(ops), sockets, setup_.timing);
  try {
    std::thread([run] {
      run->worker.run();
      run->finish();
    }).detach();
    run_ = std::move(run);
  } catch (const std::system_error&) {
    // No thread: the flag stays set, so the button cancels and the
    // time-out still ends the attempt.
  }
}

void CNestiqDlg::stopEarlierWorker() {
  if (!run_) return;
  run_->link.cut();
  run_->worker.stop();
  run_->waitFinished(kStopWaitLimit);
  run_.reset();
}

void CNestiqDlg::OnDestroy() {
  // The process ends with the dialog: cut the worker off, do not wait.
  if (run_) {
    run_->link.cut();
    run_->worker.stop();
  }
}

void CNestiqDlg::showBusyLook() {
  m_btnLaunch.SetWindowText("");
  m_animBusy.ShowWindow(wnd::SW_SHOW);
  m_animBusy.Play(0, -1, -1);
}

void CNestiqDlg::showIdleLook() {
  m_animBusy.Stop();
  m_animBusy.ShowWindow(wnd::SW_HIDE);
  m_btnLaunch.SetWindowText(kLaunchCaption);
}

void CNestiqDlg::endExchangeTimer() { KillTimer(m_nTimerId); }

void CNestiqDlg::OnExchangeTimer(unsigned timerId) {
  KillTimer(timerId);
  if (wnd::Dialog* main = wnd::AfxGetMainWnd()) main->PostMessage(WM_EXCHANGE_STATUS, StatusTimedOut, 0);
  Default();
}

wnd::LRESULT CNestiqDlg::OnExchangeStatus(wnd::WPARAM wParam, wnd::LPARAM) {
  const unsigned code = wnd::LOWORD(wParam);
  BoxSettings.busy = false;
  if (code == StatusConfigured) {
    reportConfigured();
  } else if (const auto message = statusMessage(code)) {
    MessageBox(message->text, message->caption);
  }
  return 0;
}

void CNestiqDlg::reportConfigured() {
  CConfiguredDlg configured;
  configured.m_strSummary = configuredSummary(BoxSettings);
  if (configured.DoModal() != wnd::IDOK) return;
  if (configured.m_bAddShortcut) writeDesktopShortcut(BoxSettings.boxIp);
  if (configured.m_bOpenAdmin) shellOpen(adminPageAddress(BoxSettings.boxIp).c_str(), nullptr, nullptr);
}
