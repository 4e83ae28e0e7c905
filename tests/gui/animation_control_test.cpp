#include "platform/wnd/animation_control_qt.h"

#include <gtest/gtest.h>

#include "tests/gui/qt_printers.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// Frame i is filled with a grey of 20 * i, so a grab tells which frame shows.
QList<QImage> clip(int count, QSize size = {32, 32}) {
  QList<QImage> frames;
  for (int i = 0; i < count; ++i) {
    QImage frame(size, QImage::Format_RGB32);
    frame.fill(QColor(20 * i, 20 * i, 20 * i));
    frames.append(frame);
  }
  return frames;
}

QList<int> shownFrames(const QSignalSpy& spy) {
  QList<int> frames;
  for (const auto& args : spy) frames.append(args.at(0).toInt());
  return frames;
}

class AnimationControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = std::make_unique<QWidget>();
    parent->resize(200, 200);
    anim = new AnimationControl(parent.get());
    anim->setGeometry(90, 148, 36, 39);  // 24 x 24 units of a 6 x 13 font
    parent->show();
  }
  std::unique_ptr<QWidget> parent;
  AnimationControl* anim = nullptr;
};

TEST_F(AnimationControlTest, OpenTakesFrameSizeKeepsCornerShowsFirstFrame) {
  ASSERT_TRUE(anim->open(clip(8), 10.0));
  EXPECT_EQ(anim->geometry(), QRect(90, 148, 32, 32));
  EXPECT_EQ(anim->currentFrame(), 0);
  EXPECT_FALSE(anim->isPlaying());
  EXPECT_EQ(anim->frameIntervalMs(), 100);
  const QImage shown = anim->grab().toImage();
  EXPECT_EQ(shown.size(), QSize(32, 32));
  EXPECT_EQ(shown.pixelColor(16, 16), QColor(0, 0, 0));
}

TEST_F(AnimationControlTest, OpenRefusesBadClipsAndKeepsTheOldOne) {
  ASSERT_TRUE(anim->open(clip(8), 10.0));
  QList<QImage> mixed = clip(2);
  mixed.append(clip(1, {16, 16}));
  EXPECT_FALSE(anim->open({}, 10.0));
  EXPECT_FALSE(anim->open(mixed, 10.0));
  EXPECT_FALSE(anim->open(clip(3), 0.0));
  EXPECT_FALSE(anim->open(clip(1, {0, 0}), 10.0));
  EXPECT_EQ(anim->frameCount(), 8);
  EXPECT_EQ(anim->size(), QSize(32, 32));
}

TEST_F(AnimationControlTest, PlayForeverAdvancesAndWrapsUntilStopped) {
  ASSERT_TRUE(anim->open(clip(8), 200.0));
  QSignalSpy spy(anim, &AnimationControl::frameShown);
  ASSERT_TRUE(anim->play(0, -1, -1));
  EXPECT_TRUE(anim->isPlaying());
  QTRY_VERIFY_WITH_TIMEOUT(spy.count() >= 11, 5000);
  EXPECT_EQ(shownFrames(spy).mid(0, 11), (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2}));
  anim->stop();
  EXPECT_FALSE(anim->isPlaying());
  const int stoppedOn = anim->currentFrame();
  QTest::qWait(50);
  EXPECT_EQ(anim->currentFrame(), stoppedOn);
  const QImage shown = anim->grab().toImage();
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(20 * stoppedOn, 20 * stoppedOn, 20 * stoppedOn));
}

TEST_F(AnimationControlTest, FiniteRepeatEndsOnLastFrameOfRange) {
  ASSERT_TRUE(anim->open(clip(8), 200.0));
  QSignalSpy spy(anim, &AnimationControl::frameShown);
  ASSERT_TRUE(anim->play(2, 4, 2));
  QTRY_VERIFY_WITH_TIMEOUT(!anim->isPlaying(), 5000);
  EXPECT_EQ(shownFrames(spy), (QList<int>{2, 3, 4, 2, 3, 4}));
  EXPECT_EQ(anim->currentFrame(), 4);
}

TEST_F(AnimationControlTest, PlayArguments) {
  EXPECT_FALSE(anim->play(0, -1, -1));  // no clip yet
  ASSERT_TRUE(anim->open(clip(8), 10.0));
  EXPECT_FALSE(anim->play(0, 8, -1));
  EXPECT_FALSE(anim->play(5, 4, -1));
  EXPECT_FALSE(anim->play(-1, 3, -1));
  EXPECT_FALSE(anim->isPlaying());
  ASSERT_TRUE(anim->play(3, 3, 1));  // one frame: shown, nothing to play
  EXPECT_EQ(anim->currentFrame(), 3);
  EXPECT_FALSE(anim->isPlaying());
  ASSERT_TRUE(anim->play(0, -1, -1));
  ASSERT_TRUE(anim->open(clip(8), 10.0));  // opening again stops and shows frame 0
  EXPECT_FALSE(anim->isPlaying());
  EXPECT_EQ(anim->currentFrame(), 0);
}

}  // namespace
