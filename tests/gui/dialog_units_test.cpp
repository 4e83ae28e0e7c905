#include "platform/wnd/dialog_units_qt.h"

#include <gtest/gtest.h>

#include "tests/gui/qt_printers.h"

#include <QFile>
#include <QFontInfo>

namespace {

struct MulDivCase {
  int number, numerator, denominator, expected;
};
void PrintTo(const MulDivCase& c, std::ostream* os) {
  *os << c.number << '*' << c.numerator << '/' << c.denominator;
}

class MulDivRounding : public ::testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivRounding, RoundsHalfAwayFromZero) {
  const MulDivCase& c = GetParam();
  EXPECT_EQ(mulDiv(c.number, c.numerator, c.denominator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Windows, MulDivRounding,
                         ::testing::Values(MulDivCase{8, 96, 72, 11}, MulDivCase{-8, 96, 72, -11},
                                           MulDivCase{5, 6, 4, 8}, MulDivCase{133, 6, 4, 200},
                                           MulDivCase{91, 13, 8, 148}, MulDivCase{29, 13, 8, 47},
                                           MulDivCase{7, 3, 2, 11}, MulDivCase{-7, 3, 2, -11},
                                           MulDivCase{7, -3, 2, -11}, MulDivCase{0, 5, 3, 0},
                                           MulDivCase{1, 1, 0, -1},
                                           MulDivCase{2000000000, 3, 4, 1500000000}));

struct RectCase {
  const char* what;
  int x, y, w, h;
  QRect pixels;
};
void PrintTo(const RectCase& c, std::ostream* os) { *os << c.what; }

class DialogRect : public ::testing::TestWithParam<RectCase> {};

// MS Sans Serif 8 pt has base units 6 x 13 on Windows.
TEST_P(DialogRect, EachCoordinateConvertedOnItsOwn) {
  const RectCase& c = GetParam();
  EXPECT_EQ(dialogRectToPixels(c.x, c.y, c.w, c.h, {6, 13}), c.pixels) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    MainDialogRows, DialogRect,
    ::testing::Values(RectCase{"licence", 62, 13, 102, 13, {93, 21, 153, 21}},
                      RectCase{"address", 89, 28, 75, 13, {134, 46, 113, 21}},
                      RectCase{"launch", 5, 88, 133, 29, {8, 143, 200, 47}},
                      RectCase{"animation", 60, 91, 24, 24, {90, 148, 36, 39}},
                      RectCase{"group", 2, 0, 166, 120, {3, 0, 249, 195}}));

TEST(DialogUnits, DialogSizeAndOtherBaseUnits) {
  EXPECT_EQ(dialogSizeToPixels(170, 122, {6, 13}), QSize(255, 198));
  EXPECT_EQ(dialogSizeToPixels(147, 98, {6, 13}), QSize(221, 159));
  EXPECT_EQ(dialogRectToPixels(60, 91, 24, 24, {7, 16}), QRect(105, 182, 42, 48));
}

TEST(DialogUnits, TemplateFontsAt96Dpi) {
  const QFont sans = dialogFont("MS Sans Serif", 8, 0, false);
  EXPECT_EQ(sans.pixelSize(), 11);
  EXPECT_FALSE(sans.bold());
  EXPECT_TRUE(dialogFont("MS Sans Serif", 8, 700, true).bold());
  EXPECT_TRUE(dialogFont("MS Sans Serif", 8, 700, true).italic());

  const QString arial = QFontInfo(dialogFont("Arial", 8, 0, false)).family();
  EXPECT_FALSE(arial.isEmpty());
  EXPECT_EQ(dialogFont("Arial", 8, 0, false).pixelSize(), 11);
}

TEST(DialogUnits, WineSansSerifGivesWindowsBaseUnits) {
  if (!QFile::exists("/usr/share/wine/fonts/ms_sans_serif.ttf"))
    GTEST_SKIP() << "fonts-wine is not installed";
  const QFont font = dialogFont("MS Sans Serif", 8, 0, false);
  EXPECT_EQ(QFontInfo(font).family(), "MS Sans Serif");
  EXPECT_EQ(dialogBaseUnits(font), (DialogBaseUnits{6, 13}));
}

}  // namespace
