#include "platform/wnd/app.h"

namespace wnd {

namespace {
App* gApp = nullptr;
}

App::App() { gApp = this; }

App::~App() {
  if (gApp == this) gApp = nullptr;
}

App* AfxGetApp() { return gApp; }

Dialog* AfxGetMainWnd() { return gApp ? gApp->m_pMainWnd.load() : nullptr; }

}  // namespace wnd
