#pragma once
#include <string>

#include "platform/wnd/dialog.h"

// "Box configurée": the summary and the two follow-up choices.
class CConfiguredDlg : public wnd::Dialog {
 public:
  explicit CConfiguredDlg(wnd::Dialog* owner = nullptr);
  ~CConfiguredDlg() override;

  wnd::StaticText m_wndSummary;
  int m_bOpenAdmin = 0;
  int m_bAddShortcut = 0;
  std::string m_strSummary;

 protected:
  void DoDataExchange(wnd::DataExchange& dx) override;
};
