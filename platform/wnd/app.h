#pragma once
// The application object and its entry: name the application, run
// InitInstance, end the process. No message loop of its own.
#include <atomic>

namespace wnd {

class Dialog;

class App {
 public:
  App();
  virtual ~App();
  virtual bool InitInstance() = 0;

  // The main window while it exists; the worker posts its status here.
  std::atomic<Dialog*> m_pMainWnd{nullptr};
};

App* AfxGetApp();
Dialog* AfxGetMainWnd();

// The toolkit's entry: prepares it (with no command-line arguments), names
// the application after argv0's executable, runs InitInstance, returns the
// exit code.
int runApplication(App& app, const char* argv0);

}  // namespace wnd
