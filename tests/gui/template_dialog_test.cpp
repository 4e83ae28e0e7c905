#include "platform/wnd/template_dialog_qt.h"

#include <gtest/gtest.h>

#include "tests/gui/qt_printers.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

#include <array>
#include <memory>
#include <stdexcept>

#include "platform/wnd/animation_control_qt.h"
#include "platform/wnd/ip_address_edit_qt.h"
#include "res/win_styles.h"

namespace {

constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;
constexpr std::uint32_t kLabel = kChild | WS_GROUP | SS_LEFT | SS_CENTERIMAGE;

// The shape of the main dialog, labels after their inputs, plus a framed
// multi-line text, a checkbox, a picture and a hidden control.
const std::array<ControlTemplate, 15> kRows{{
    {1006, "EDIT", "", 0, 62, 13, 102, 13, kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL},
    {1001, "SysIPAddress32", "IPAddress1", 0, 89, 28, 75, 13, kChild | WS_TABSTOP},
    {1002, "SysIPAddress32", "IPAddress1", 0, 89, 43, 75, 13, kChild | WS_TABSTOP},
    {1004, "BUTTON", "Lancer", 0, 5, 88, 133, 29, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON},
    {1014, "BUTTON", "V 3.2", 0, 142, 88, 22, 29, kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {1000, "BUTTON", "Configuration", 0, 2, 0, 166, 120, kChild | BS_GROUPBOX},
    {-1, "STATIC", "Adresse IP : ", 0, 8, 27, 42, 13, kLabel},
    {-1, "STATIC", "Masque de sous-réseau :", 0, 8, 43, 81, 13, kLabel},
    {1003, "SysAnimate32", "Animate1", 0, 60, 91, 24, 24, kChild | WS_TABSTOP},
    {-1, "STATIC", "Licence : ", 0, 8, 13, 54, 13, kLabel},
    {1009, "STATIC", "", 0, 7, 125, 133, 40, kChild | WS_BORDER | WS_GROUP | SS_LEFT},
    {1010, "BUTTON", "Ajouter le raccourci sur le bureau", 0, 7, 167, 133, 12,
     kChild | WS_TABSTOP | BS_AUTOCHECKBOX},
    {-1, "STATIC", "", 135, 0, 182, 100, 33, kChild | SS_BITMAP},
    {1020, "EDIT", "caché", 0, 7, 200, 50, 13, WS_CHILD | WS_BORDER | WS_TABSTOP},
    {-1, "STATIC", "Hors ligne", 0, 100, 200, 40, 13, kLabel},
}};

const DialogTemplate kTemplate{
    777,  true, "Paramétrages Box", 0, 0, 170, 220,
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    WS_EX_APPWINDOW, "MS Sans Serif", 8, 0, false, 1, kRows};

QPixmap picture(int id) {
  if (id != 135) return {};
  QPixmap p(150, 55);
  p.fill(Qt::blue);
  return p;
}

class TemplateDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = std::make_unique<QDialog>();
    built = buildTemplateDialog(*dialog, kTemplate, picture);
  }

  void showActive() {
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  }

  template <class T>
  T* control(int id) const {
    return qobject_cast<T*>(built.control(id));
  }

  // The control a focused widget belongs to (an address field -> its input).
  static QWidget* owningControl(QWidget* w) {
    while (w && !w->property("controlId").isValid()) w = w->parentWidget();
    return w;
  }

  std::unique_ptr<QDialog> dialog;
  TemplateControls built;
};

TEST_F(TemplateDialogTest, ControlsOfTheirClassesWithIdsInTemplateOrder) {
  ASSERT_EQ(built.inOrder.size(), kRows.size());
  EXPECT_NE(control<QLineEdit>(1006), nullptr);
  EXPECT_NE(control<IpAddressEdit>(1001), nullptr);
  EXPECT_NE(control<QPushButton>(1004), nullptr);
  EXPECT_NE(control<QGroupBox>(1000), nullptr);
  EXPECT_NE(control<AnimationControl>(1003), nullptr);
  EXPECT_NE(control<QLabel>(1009), nullptr);
  EXPECT_NE(control<QCheckBox>(1010), nullptr);
  EXPECT_EQ(built.control(-1), nullptr);
  EXPECT_EQ(built.control(4242), nullptr);
  for (std::size_t i = 0; i < kRows.size(); ++i)
    EXPECT_EQ(built.inOrder[i]->property("controlId").toInt(), kRows[i].id);
  EXPECT_EQ(built.control(1004)->objectName(), "ctl1004");
  EXPECT_EQ(dialog->findChild<QWidget*>("ctl1013"), nullptr);
  EXPECT_EQ(dialog->findChild<IpAddressEdit*>("ctl1002"), built.control(1002));

  EXPECT_EQ(dialog->windowTitle(), "Paramétrages Box");
  EXPECT_EQ(control<QPushButton>(1004)->text(), "Lancer");
  EXPECT_EQ(qobject_cast<QLabel*>(built.inOrder[6])->text(), "Adresse IP : ");
  EXPECT_TRUE(control<IpAddressEdit>(1001)->isBlank());  // "IPAddress1" is never shown
}

TEST_F(TemplateDialogTest, PixelGeometryFromDialogUnits) {
  const DialogBaseUnits u = built.baseUnits;
  EXPECT_EQ(dialog->size(), dialogSizeToPixels(170, 220, u));
  EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());  // fixed size
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    const ControlTemplate& r = kRows[i];
    if ((r.style & SS_TYPEMASK) == SS_BITMAP && std::string(r.windowClass) == "STATIC") continue;
    EXPECT_EQ(built.inOrder[i]->geometry(), dialogRectToPixels(r.x, r.y, r.w, r.h, u)) << i;
  }
  // A picture takes its own size at the control's top-left corner.
  EXPECT_EQ(built.inOrder[12]->geometry(), QRect(dialogRectToPixels(0, 182, 0, 0, u).topLeft(),
                                                 QSize(150, 55)));
}

TEST_F(TemplateDialogTest, WindowsLookAndFixedFrame) {
  EXPECT_EQ(dialog->style()->name(), "windows");
  EXPECT_EQ(built.control(1001)->style(), dialog->style());
  EXPECT_EQ(control<IpAddressEdit>(1001)->field(0)->style(), dialog->style());
  const Qt::WindowFlags flags = dialog->windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(dialog->isSizeGripEnabled());
  EXPECT_EQ(dialog->font().pixelSize(), 11);
}

TEST_F(TemplateDialogTest, TextControls) {
  auto* summary = control<QLabel>(1009);
  EXPECT_TRUE(summary->wordWrap());
  EXPECT_EQ(summary->frameShape(), QFrame::Box);
  EXPECT_EQ(summary->textFormat(), Qt::PlainText);
  auto* label = qobject_cast<QLabel*>(built.inOrder[6]);
  EXPECT_FALSE(label->wordWrap());
  EXPECT_TRUE(label->alignment() & Qt::AlignVCenter);
  EXPECT_TRUE(control<QLineEdit>(1006)->hasFrame());
}

TEST_F(TemplateDialogTest, VisibilityFromTheTemplate) {
  showActive();
  EXPECT_TRUE(built.control(1006)->isVisible());
  EXPECT_TRUE(built.control(1003)->isVisible());
  EXPECT_FALSE(built.control(1020)->isVisible());
}

TEST_F(TemplateDialogTest, TabOrderFollowsTemplateOverTabStops) {
  built.control(1003)->hide();
  showActive();
  built.control(1006)->setFocus();
  const std::vector<int> expected{1001, 1002, 1004, 1014, 1010, 1006};
  std::vector<int> seen;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* c = owningControl(QApplication::focusWidget());
    seen.push_back(c ? c->property("controlId").toInt() : 0);
  }
  EXPECT_EQ(seen, expected);

  built.control(1003)->show();  // the animation is a stop while shown
  built.control(1014)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), built.control(1003));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), built.control(1014));
}

TEST_F(TemplateDialogTest, EnterPressesTheDefaultButton) {
  auto* launch = control<QPushButton>(1004);
  EXPECT_TRUE(launch->isDefault());
  EXPECT_FALSE(control<QPushButton>(1014)->isDefault());
  showActive();
  QSignalSpy clicked(launch, &QPushButton::clicked);
  built.control(1001)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(clicked.count(), 1);
}

TEST_F(TemplateDialogTest, ClicksReachTheButtonUnderTheAnimationAndInsideTheGroup) {
  showActive();
  QSignalSpy launched(control<QPushButton>(1004), &QPushButton::clicked);
  const QPoint onAnimation = built.control(1003)->geometry().center();
  QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {}, onAnimation);
  EXPECT_EQ(launched.count(), 1);
  QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {},
                    built.control(1006)->geometry().center());
  EXPECT_EQ(QApplication::focusWidget(), built.control(1006));
}

TEST_F(TemplateDialogTest, InputsNamedByTheLabelOnTheirRow) {
  EXPECT_EQ(built.control(1006)->accessibleName(), "Licence");
  EXPECT_EQ(built.control(1001)->accessibleName(), "Adresse IP");
  EXPECT_EQ(built.control(1002)->accessibleName(), "Masque de sous-réseau");
  EXPECT_EQ(control<IpAddressEdit>(1002)->field(2)->accessibleName(), "Masque de sous-réseau");
  EXPECT_EQ(built.control(1020)->accessibleName(), "");  // its label lies to its right
}

TEST(LabelText, AccessibleNameWithoutColonBlanksAndMarks) {
  EXPECT_EQ(labelToAccessibleName("Adresse IP : "), "Adresse IP");
  EXPECT_EQ(labelToAccessibleName("Passerelle par défaut :"), "Passerelle par défaut");
  EXPECT_EQ(labelToAccessibleName("Serveur DNS :"), "Serveur DNS");
  EXPECT_EQ(labelToAccessibleName("&Nom && prénom:"), "Nom & prénom");
  EXPECT_EQ(labelToAccessibleName("Licence"), "Licence");
}

TEST(TemplateDialog, UnknownWindowClassIsRefused) {
  const std::array<ControlTemplate, 1> rows{{{5, "ComboBox", "", 0, 0, 0, 10, 10, kChild}}};
  const DialogTemplate t{1, false, "x", 0, 0, 50, 50, WS_POPUP | DS_SETFONT, 0,
                         "MS Sans Serif", 8, 0, false, 1, rows};
  QDialog dialog;
  EXPECT_THROW(buildTemplateDialog(dialog, t), std::invalid_argument);
}

TEST(TemplateDialog, ToolWindowTemplateWithoutPictureLookup) {
  const std::array<ControlTemplate, 1> rows{{{-1, "STATIC", "", 135, 0, 0, 100, 33, kChild | SS_BITMAP}}};
  const DialogTemplate about{100, true, "Version 3.2", 0, 0, 100, 30,
                             WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT, WS_EX_TOOLWINDOW,
                             "Arial", 8, 0, false, 1, rows};
  QDialog dialog;
  const TemplateControls built = buildTemplateDialog(dialog, about);
  EXPECT_EQ(dialog.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_EQ(built.inOrder[0]->geometry(), dialogRectToPixels(0, 0, 100, 33, built.baseUnits));
}

class CentreDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    area = QGuiApplication::primaryScreen()->availableGeometry();
    dialog.setFixedSize(200, 100);
  }
  QRect area;
  QDialog dialog;
};

TEST_F(CentreDialog, OwnerlessGoesToTheMiddleOfTheWorkArea) {
  centreDialog(dialog, nullptr);
  EXPECT_EQ(dialog.frameGeometry().center(), area.center());
}

TEST_F(CentreDialog, OnItsShownOwnerAndBackInsideTheWorkArea) {
  QWidget owner;
  owner.setGeometry(area.left() + 100, area.top() + 100, 400, 300);
  owner.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
  centreDialog(dialog, &owner);
  EXPECT_EQ(dialog.frameGeometry().center(), owner.frameGeometry().center());

  owner.move(area.right() - 150, area.bottom() - 50);  // reaches past two edges
  centreDialog(dialog, &owner);
  const QRect placed = dialog.frameGeometry();
  EXPECT_EQ(placed.right(), area.right());
  EXPECT_EQ(placed.bottom(), area.bottom());

  owner.hide();  // a hidden (or minimised) owner: the work area instead
  centreDialog(dialog, &owner);
  EXPECT_EQ(dialog.frameGeometry().center(), area.center());
}

}  // namespace
