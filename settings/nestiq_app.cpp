#include "settings/nestiq_app.h"

#include "settings/host_discovery.h"
#include "ui/nestiq_dlg.h"

CNestiqApp::~CNestiqApp() = default;

bool CNestiqApp::InitInstance() {
  CNestiqDlg dlg;
  m_pMainWnd = &dlg;
  discoverHostNetwork();
  dlg.DoModal();
  return false;
}
