#include "platform/wnd/window_host_qt.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "platform/wnd/animation_control_qt.h"
#include "platform/wnd/dialog.h"
#include "platform/wnd/ip_address_edit_qt.h"
#include "platform/wnd/ui_handover_qt.h"
#include "res/avi_clip.h"
#include "res/resources.h"

namespace wnd {

namespace {

const QEvent::Type kPostedMessage = static_cast<QEvent::Type>(QEvent::registerEventType());

struct PostedMessage final : QEvent {
  PostedMessage(unsigned m, WPARAM w, LPARAM l) : QEvent(kPostedMessage), message(m), wParam(w), lParam(l) {}
  unsigned message;
  WPARAM wParam;
  LPARAM lParam;
};

QIcon iconFromResource(int id) {
  const auto bytes = resourceData(ResourceType::Icon, id);
  QIcon icon;
  QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "ICO");
  for (int i = 0; i < reader.imageCount(); ++i) {
    reader.jumpToImage(i);
    const QImage image = reader.read();
    if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

}  // namespace

DialogWindow::DialogWindow(Dialog& dialog, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      dialog_(dialog),
      systemMenu_(new QMenu(this)) {
  // The window's own menu: the context menu of the dialog, and Alt+Space,
  // which an edit box would otherwise take for a blank.
  qApp->installEventFilter(this);
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* e) {
  acquireOnUiThread();  // every event of the application passes here first
  if (e->type() == QEvent::ShortcutOverride || e->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(e);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (key->key() == Qt::Key_Space && key->modifiers() == Qt::AltModifier && widget && widget->window() == this) {
      if (e->type() == QEvent::KeyPress) showSystemMenu(mapToGlobal(QPoint(0, 0)));
      e->accept();
      return true;
    }
  }
  return QDialog::eventFilter(watched, e);
}

void DialogWindow::dispatch(unsigned message, WPARAM wParam, LPARAM lParam) {
  dialog_.WindowProc(message, wParam, lParam);
}

bool DialogWindow::event(QEvent* e) {
  acquireOnUiThread();
  if (e->type() == kPostedMessage) {
    const auto* m = static_cast<PostedMessage*>(e);
    dispatch(m->message, m->wParam, m->lParam);
    return true;
  }
  return QDialog::event(e);
}

void DialogWindow::keyPressEvent(QKeyEvent* e) {
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  if (enter && e->modifiers() == Qt::NoModifier) {
    // Enter presses the focused or default push button; with none, it is
    // the OK command, as in a Windows dialog.
    for (auto* button : findChildren<QPushButton*>())
      if ((button->hasFocus() || button->isDefault()) && button->isVisible() && button->isEnabled()) {
        QDialog::keyPressEvent(e);
        return;
      }
    dispatch(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return;
  }
  QDialog::keyPressEvent(e);
}

void DialogWindow::reject() {
  // Escape: the cancel command, which the dialog may handle.
  dispatch(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void DialogWindow::closeEvent(QCloseEvent* e) {
  e->ignore();
  dispatch(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* e) { showSystemMenu(e->globalPos()); }

void DialogWindow::showSystemMenu(const QPoint& globalPos) {
  if (!systemMenu_->isEmpty()) systemMenu_->popup(globalPos);
}

QtWindowHost::QtWindowHost(Dialog& dialog, QWidget* parent) : window_(new DialogWindow(dialog, parent)) {
  auto* close = window_->systemMenu()->addAction(QStringLiteral("Fermer\tAlt+F4"));
  QObject::connect(close, &QAction::triggered, window_, [w = window_] { w->dispatch(WM_SYSCOMMAND, SC_CLOSE, 0); });
}

QtWindowHost::~QtWindowHost() {
  for (auto& [id, timer] : timers_) delete timer;
  delete window_;
}

void QtWindowHost::setControls(TemplateControls controls) {
  controls_ = std::move(controls);
  for (const auto& [id, widget] : controls_.byId)
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
      QObject::connect(button, &QAbstractButton::clicked, window_,
                       [w = window_, id = id] { w->dispatch(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id), BN_CLICKED), 0); });
}

QWidget* QtWindowHost::control(int id) const { return controls_.control(id); }

bool QtWindowHost::hasControl(int id) const { return control(id) != nullptr; }

void QtWindowHost::setControlText(int id, const std::string& utf8) {
  const QString text = QString::fromStdString(utf8);
  QWidget* w = control(id);
  if (auto* edit = qobject_cast<QLineEdit*>(w))
    edit->setText(text);
  else if (auto* button = qobject_cast<QAbstractButton*>(w))
    button->setText(text);
  else if (auto* label = qobject_cast<QLabel*>(w))
    label->setText(text);
  else if (w)
    w->setWindowTitle(text);
}

std::string QtWindowHost::controlText(int id) const {
  QWidget* w = control(id);
  QString text;
  if (auto* edit = qobject_cast<QLineEdit*>(w))
    text = edit->text();
  else if (auto* button = qobject_cast<QAbstractButton*>(w))
    text = button->text();
  else if (auto* label = qobject_cast<QLabel*>(w))
    text = label->text();
  else if (w)
    text = w->windowTitle();
  std::string utf8 = text.toStdString();
  return utf8.substr(0, utf8.find('\0'));
}

void QtWindowHost::showControl(int id, int showCommand) {
  if (QWidget* w = control(id)) w->setVisible(showCommand != SW_HIDE);
}

bool QtWindowHost::isControlVisible(int id) const {
  QWidget* w = control(id);
  return w && !w->isHidden();
}

void QtWindowHost::focusControl(int id) {
  if (QWidget* w = control(id)) w->setFocus(Qt::OtherFocusReason);
}

void QtWindowHost::setCheck(int id, bool checked) {
  if (auto* box = qobject_cast<QAbstractButton*>(control(id))) box->setChecked(checked);
}

bool QtWindowHost::isChecked(int id) const {
  auto* box = qobject_cast<QAbstractButton*>(control(id));
  return box && box->isChecked();
}

void QtWindowHost::setAddress(int id, std::uint32_t value) {
  if (auto* ip = qobject_cast<IpAddressEdit*>(control(id))) ip->setValue(value);
}

std::uint32_t QtWindowHost::address(int id) const {
  auto* ip = qobject_cast<IpAddressEdit*>(control(id));
  return ip ? ip->value() : 0;
}

bool QtWindowHost::isAddressBlank(int id) const {
  auto* ip = qobject_cast<IpAddressEdit*>(control(id));
  return !ip || ip->isBlank();
}

std::array<std::uint8_t, 4> QtWindowHost::addressFields(int id) const {
  auto* ip = qobject_cast<IpAddressEdit*>(control(id));
  return ip ? ip->fields() : std::array<std::uint8_t, 4>{};
}

bool QtWindowHost::openClip(int id, int clipResource) {
  auto* anim = qobject_cast<AnimationControl*>(control(id));
  if (!anim) return false;
  const auto clip = readAviClip(resourceData(ResourceType::Clip, clipResource));
  if (!clip) return false;
  QList<QImage> frames;
  for (const auto& pixels : clip->frames) {
    QImage image(clip->width, clip->height, QImage::Format_ARGB32);
    for (int y = 0; y < clip->height; ++y)
      std::copy_n(pixels.data() + static_cast<std::size_t>(y) * clip->width, clip->width,
                  reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    frames.append(image);
  }
  return anim->open(frames, clip->framesPerSecond());
}

bool QtWindowHost::playClip(int id, int from, int to, int repeat) {
  auto* anim = qobject_cast<AnimationControl*>(control(id));
  return anim && anim->play(from, to, repeat);
}

void QtWindowHost::stopClip(int id) {
  if (auto* anim = qobject_cast<AnimationControl*>(control(id))) anim->stop();
}

bool QtWindowHost::isClipPlaying(int id) const {
  auto* anim = qobject_cast<AnimationControl*>(control(id));
  return anim && anim->isPlaying();
}

void QtWindowHost::setWindowText(const std::string& utf8) { window_->setWindowTitle(QString::fromStdString(utf8)); }

void QtWindowHost::setIcon(int iconResource, unsigned) {
  // Qt keeps one icon set for every size: big and small are the same icon.
  window_->setWindowIcon(iconFromResource(iconResource));
}

bool QtWindowHost::hasSystemMenu() const { return window_->systemMenu() != nullptr; }

void QtWindowHost::appendSystemMenuSeparator() { window_->systemMenu()->addSeparator(); }

void QtWindowHost::appendSystemMenuItem(unsigned command, const std::string& utf8) {
  auto* action = window_->systemMenu()->addAction(QString::fromStdString(utf8));
  QObject::connect(action, &QAction::triggered, window_,
                   [w = window_, command] { w->dispatch(WM_SYSCOMMAND, command, 0); });
}

bool QtWindowHost::isIconic() const { return window_->windowState() & Qt::WindowMinimized; }

// Qt draws minimised windows itself and asks the window for no icon.
void QtWindowHost::paintMinimisedIcon(int, IconPlacement) {}

LRESULT QtWindowHost::iconHandle(int) { return 0; }

unsigned QtWindowHost::setTimer(unsigned id, unsigned milliseconds) {
  QTimer*& timer = timers_[id];
  if (!timer) {
    timer = new QTimer();
    QObject::connect(timer, &QTimer::timeout, window_, [w = window_, id] { w->dispatch(WM_TIMER, id, 0); });
  }
  timer->start(static_cast<int>(milliseconds));
  return id;
}

bool QtWindowHost::killTimer(unsigned id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return false;
  delete it->second;
  timers_.erase(it);
  return true;
}

bool QtWindowHost::postMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
  auto* posted = new PostedMessage(message, wParam, lParam);
  releaseToUiThread();
  QCoreApplication::postEvent(window_, posted);
  return true;
}

LRESULT QtWindowHost::defaultProcessing(unsigned message, WPARAM wParam, LPARAM) {
  // Close from the caption or the window menu is the cancel command.
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0u) == SC_CLOSE)
    window_->dispatch(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  return 0;
}

void QtWindowHost::endModal(int result) { window_->done(result); }

}  // namespace wnd
