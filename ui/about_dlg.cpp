#include "ui/about_dlg.h"

#include "ui/control_ids.h"

CAboutDlg::CAboutDlg(wnd::Dialog* owner) : wnd::Dialog(IDD_ABOUTBOX, owner) {}

CAboutDlg::~CAboutDlg() = default;

const wnd::MessageMap* CAboutDlg::GetMessageMap() const {
  static const wnd::MessageMap map{wnd::Dialog::BaseMessageMap(), {}};
  return &map;
}

void CAboutDlg::DoDataExchange(wnd::DataExchange& dx) { wnd::Dialog::DoDataExchange(dx); }
