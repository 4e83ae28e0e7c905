// The toolkit-wide part of the framework on Qt: the UI thread, message
// boxes, resource strings, the application's name and entry.
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QMetaObject>
#include <QStyleFactory>
#include <QThread>

#include <unistd.h>

#include "platform/wnd/app.h"
#include "platform/wnd/dialog.h"
#include "platform/wnd/platform.h"
#include "platform/wnd/ui_handover_qt.h"
#include "platform/wnd/window_host_qt.h"
#include "res/resources.h"
#include "settings/app_name.h"

namespace wnd {

namespace {


QWidget* widgetOf(Dialog* dialog) {
  auto* host = dialog ? dynamic_cast<QtWindowHost*>(dialog->host()) : nullptr;
  return host ? host->window() : nullptr;
}

void prepareBox(QMessageBox& box, const std::string& text, const std::string& caption) {
  box.setWindowTitle(QString::fromStdString(caption));
  box.setText(QString::fromStdString(text));
  box.setTextFormat(Qt::PlainText);
  box.setIcon(QMessageBox::NoIcon);
  box.setStandardButtons(QMessageBox::Ok);
}

class QtMessageBoxes final : public MessageBoxPresenter {
 public:
  int showModal(Dialog* owner, const std::string& text, const std::string& caption) override {
    QMessageBox box(widgetOf(owner));
    prepareBox(box, text, caption);
    box.exec();
    return IDOK;
  }
  void showModeless(const std::string& text, const std::string& caption, std::function<void()> closed) override {
    auto* box = new QMessageBox();
    prepareBox(*box, text, caption);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    QObject::connect(box, &QMessageBox::finished, box, [closed = std::move(closed)] {
      if (closed) closed();
    });
    box->show();
  }
};

QtMessageBoxes gQtBoxes;
MessageBoxPresenter* gPresenter = nullptr;


const QEvent::Type kPostedTask = static_cast<QEvent::Type>(QEvent::registerEventType());

struct PostedTask final : QEvent {
  explicit PostedTask(std::function<void()> fn) : QEvent(kPostedTask), task(std::move(fn)) {}
  std::function<void()> task;
};

// Runs, on the UI thread, the tasks that other threads post to it.
class TaskRunner final : public QObject {
 public:
  bool event(QEvent* e) override {
    acquireOnUiThread();
    if (e->type() != kPostedTask) return QObject::event(e);
    static_cast<PostedTask*>(e)->task();
    return true;
  }
};

std::string executablePath(const char* argv0) {
  char buffer[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n > 0) return std::string(buffer, static_cast<std::size_t>(n));
  return argv0 ? argv0 : "";
}

}  // namespace

MessageBoxPresenter& messageBoxes() { return gPresenter ? *gPresenter : gQtBoxes; }
void setMessageBoxPresenter(MessageBoxPresenter* presenter) { gPresenter = presenter; }

void postToUiThread(std::function<void()> fn) {
  // Built here and posted as an event of ours, so that the hand-over is
  // stated after everything the task carries (see ui_handover_qt.h).
  static TaskRunner* const runner = [] {
    auto* r = new TaskRunner;  // lives as long as the process
    r->moveToThread(qApp->thread());
    return r;
  }();
  auto* task = new PostedTask(std::move(fn));
  releaseToUiThread();
  QCoreApplication::postEvent(runner, task);
}

bool onUiThread() { return qApp && QThread::currentThread() == qApp->thread(); }

std::string resourceString(int id) { return loadResourceString(id); }

int runApplication(App& app, const char* argv0) {
  // The toolkit gets no command-line arguments: the program takes none.
  static char name[] = "nestiq";
  static char* argv[] = {name, nullptr};
  static int argc = 1;
  QApplication qt(argc, argv);
  if (QStyle* style = QStyleFactory::create("Windows")) QApplication::setStyle(style);
  setApplicationName(applicationNameFromPath(executablePath(argv0)));
  runInitInstance(app);
  return 0;
}

}  // namespace wnd
