#pragma once
// A player of a silent clip that behaves like the Windows SysAnimate32 control
// without ACS_CENTER, ACS_TRANSPARENT and ACS_AUTOPLAY: opening a clip sizes
// the control to the frames, frames are drawn opaque, and it plays only when
// told to.
#include <QImage>
#include <QList>
#include <QWidget>

class QTimer;

class AnimationControl : public QWidget {
  Q_OBJECT

 public:
  explicit AnimationControl(QWidget* parent = nullptr);

  // Takes the clip's frames (all of one size) and rate, stops any play,
  // resizes the control to the frame size keeping its top-left corner and
  // shows frame 0. Refuses (false, nothing changed) an empty clip, frames of
  // unequal or empty size, or a rate that is not positive.
  bool open(const QList<QImage>& frames, double framesPerSecond);

  // Plays frames from..to, repeat times (-1: without end); to -1 is the last
  // frame. from == to just shows that frame. False when no clip is open or a
  // frame number is out of range.
  bool play(int from, int to, int repeat);
  // Stops on the frame shown.
  void stop();
  bool isPlaying() const;

  int frameCount() const { return static_cast<int>(frames_.size()); }
  int currentFrame() const { return current_; }
  int frameIntervalMs() const;

 signals:
  void frameShown(int frame);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void showFrame(int frame);
  void advance();

  QList<QImage> frames_;
  QTimer* timer_;
  int current_ = 0;
  int from_ = 0;
  int to_ = 0;
  int repeatsLeft_ = 0;  // -1: without end
};
