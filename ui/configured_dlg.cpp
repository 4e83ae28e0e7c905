#include "ui/configured_dlg.h"

#include "ui/control_ids.h"

CConfiguredDlg::CConfiguredDlg(wnd::Dialog* owner) : wnd::Dialog(IDD_CONFIGURED, owner) {}

CConfiguredDlg::~CConfiguredDlg() = default;

void CConfiguredDlg::DoDataExchange(wnd::DataExchange& dx) {
  wnd::Dialog::DoDataExchange(dx);
  wnd::DDX_Control(dx, IDC_SUMMARY, m_wndSummary);
  wnd::DDX_Check(dx, IDC_OPEN_ADMIN, m_bOpenAdmin);
  wnd::DDX_Check(dx, IDC_ADD_SHORTCUT, m_bAddShortcut);
  wnd::DDX_Text(dx, IDC_SUMMARY, m_strSummary);
}
