#pragma once
// What the toolkit supplies beyond one window: modal runs, message boxes,
// resources, the UI thread, the application's name.
#include <functional>
#include <string>

namespace wnd {

class App;
class Dialog;

// Makes the dialog's window from its template and attaches its host; false
// when the template is missing. Then OnInitDialog runs through the dialog.
bool createDialogWindow(Dialog& dialog);
// Runs a modal loop until the dialog ends; returns its result.
int runModalLoop(Dialog& dialog);
// Shows a created window without a loop of its own.
void showDialogWindow(Dialog& dialog);
void destroyDialogWindow(Dialog& dialog);

// Message boxes: one OK button, no icon. owner nullptr: no owner window.
// The presenter is replaceable so that tests answer boxes instead of a user.
class MessageBoxPresenter {
 public:
  virtual ~MessageBoxPresenter() = default;
  // Modal; returns once closed (IDOK).
  virtual int showModal(Dialog* owner, const std::string& text, const std::string& caption) = 0;
  // Shown without blocking the UI thread; closed() runs on the UI thread
  // when the user has closed it.
  virtual void showModeless(const std::string& text, const std::string& caption, std::function<void()> closed) = 0;
};
MessageBoxPresenter& messageBoxes();
// nullptr restores the toolkit's own.
void setMessageBoxPresenter(MessageBoxPresenter* presenter);

// Runs fn later on the UI thread; callable from any thread, never blocks.
void postToUiThread(std::function<void()> fn);
bool onUiThread();

// Runs InitInstance with the start-up notices shown as ownerless boxes;
// the toolkit's entry calls it once it is ready.
void runInitInstance(App& app);

// The application's name (the executable's file name without extension).
const std::string& applicationName();
void setApplicationName(std::string name);

// Resource strings, with a test override for one number.
std::string LoadString(int id);
// The toolkit's own string table, under the overrides.
std::string resourceString(int id);
void overrideString(int id, const std::string* text);

}  // namespace wnd
