#pragma once
#include "platform/wnd/dialog.h"

// "Version 3.2": the picture and nothing else; Escape or the close box end it.
class CAboutDlg : public wnd::Dialog {
 public:
  explicit CAboutDlg(wnd::Dialog* owner = nullptr);
  ~CAboutDlg() override;

 protected:
  const wnd::MessageMap* GetMessageMap() const override;
  void DoDataExchange(wnd::DataExchange& dx) override;
};
