#pragma once
#include "platform/wnd/app.h"

class CNestiqApp : public wnd::App {
 public:
  ~CNestiqApp() override;
  // Runs the main dialog once and returns false: the process then ends.
  bool InitInstance() override;
};
