#include "platform/wnd/animation_control_qt.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>

AnimationControl::AnimationControl(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Clicks go through to what lies below, as with the Windows control: the
  // busy clip plays over the button that cancels.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  connect(timer_, &QTimer::timeout, this, &AnimationControl::advance);
}

bool AnimationControl::open(const QList<QImage>& frames, double framesPerSecond) {
  if (frames.isEmpty() || !(framesPerSecond > 0.0)) return false;
  const QSize size = frames.front().size();
  if (size.isEmpty() ||
      std::any_of(frames.begin(), frames.end(), [&](const QImage& f) { return f.size() != size; }))
    return false;
  timer_->stop();
  frames_ = frames;
  timer_->setInterval(std::max(1, static_cast<int>(std::lround(1000.0 / framesPerSecond))));
  resize(size);  // keeps the top-left corner
  showFrame(0);
  return true;
}

int AnimationControl::frameIntervalMs() const { return timer_->interval(); }

bool AnimationControl::play(int from, int to, int repeat) {
  const int last = frameCount() - 1;
  if (to == -1) to = last;
  if (frames_.isEmpty() || from < 0 || to < from || to > last || repeat == 0 || repeat < -1)
    return false;
  timer_->stop();
  from_ = from;
  to_ = to;
  repeatsLeft_ = repeat;
  showFrame(from);
  if (from != to) timer_->start();
  return true;
}

void AnimationControl::stop() { timer_->stop(); }

bool AnimationControl::isPlaying() const { return timer_->isActive(); }

void AnimationControl::advance() {
  if (current_ < to_) {
    showFrame(current_ + 1);
    return;
  }
  if (repeatsLeft_ != -1 && --repeatsLeft_ == 0) {
    timer_->stop();  // the last pass ends on its last frame
    return;
  }
  showFrame(from_);
}

void AnimationControl::showFrame(int frame) {
  current_ = frame;
  update();
  emit frameShown(frame);
}

void AnimationControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  if (!frames_.isEmpty()) painter.drawImage(QPoint(0, 0), frames_.at(current_));
}
