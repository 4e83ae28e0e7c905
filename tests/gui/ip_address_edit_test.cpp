#include "platform/wnd/ip_address_edit_qt.h"

#include <gtest/gtest.h>

#include "tests/gui/qt_printers.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <array>
#include <memory>
#include <string>

namespace {

// A window with an edit before and after the address input, shown and active.
class IpAddressEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window.get());
    before = new QLineEdit(window.get());
    ip = new IpAddressEdit(window.get());
    after = new QLineEdit(window.get());
    for (QWidget* w : {static_cast<QWidget*>(before), static_cast<QWidget*>(ip),
                       static_cast<QWidget*>(after)})
      layout->addWidget(w);
    ip->setMinimumSize(120, 22);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ip->setFocus();
  }

  QWidget* focused() const { return QApplication::focusWidget(); }

  // Types into whatever has the focus, as a user does. <BS>, <LEFT>, <RIGHT>,
  // <TAB>, <BTAB> and <PASTE> (Ctrl+V) name keys; other characters are typed.
  void type(const std::string& keys) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (keys[i] == '<') {
        const std::size_t end = keys.find('>', i);
        const std::string name = keys.substr(i + 1, end - i - 1);
        i = end;
        if (name == "BS") QTest::keyClick(focused(), Qt::Key_Backspace);
        else if (name == "LEFT") QTest::keyClick(focused(), Qt::Key_Left);
        else if (name == "RIGHT") QTest::keyClick(focused(), Qt::Key_Right);
        else if (name == "TAB") QTest::keyClick(focused(), Qt::Key_Tab);
        else if (name == "BTAB") QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ShiftModifier);
        else if (name == "PASTE") QTest::keyClick(focused(), Qt::Key_V, Qt::ControlModifier);
        else FAIL() << "unknown key " << name;
      } else {
        QTest::keyClick(focused(), keys[i]);
      }
    }
  }

  std::array<QString, 4> texts() const {
    return {ip->field(0)->text(), ip->field(1)->text(), ip->field(2)->text(),
            ip->field(3)->text()};
  }

  int focusedField() const {
    for (int i = 0; i < 4; ++i)
      if (focused() == ip->field(i)) return i;
    return -1;
  }

  std::unique_ptr<QWidget> window;
  QLineEdit* before = nullptr;
  IpAddressEdit* ip = nullptr;
  QLineEdit* after = nullptr;
};

struct KeyCase {
  const char* name;
  const char* clipboard;  // put on the clipboard first, for <PASTE>
  const char* keys;
  std::array<const char*, 4> fields;
  int focusField;
};
void PrintTo(const KeyCase& c, std::ostream* os) { *os << '"' << c.keys << '"'; }

class IpKeystrokes : public IpAddressEditTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(IpKeystrokes, FieldsAndFocusAfterTyping) {
  const KeyCase& c = GetParam();
  ASSERT_EQ(focusedField(), 0);
  if (c.clipboard) QApplication::clipboard()->setText(QString::fromUtf8(c.clipboard));
  type(c.keys);
  const std::array<QString, 4> expected{QString::fromUtf8(c.fields[0]), QString::fromUtf8(c.fields[1]),
                                        QString::fromUtf8(c.fields[2]), QString::fromUtf8(c.fields[3])};
  EXPECT_EQ(texts(), expected);
  EXPECT_EQ(focusedField(), c.focusField);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, IpKeystrokes,
    ::testing::Values(
        KeyCase{"FullAddress", nullptr, "192.168.1.50", {"192", "168", "1", "50"}, 3},
        KeyCase{"ShortFields", nullptr, "1.2.3.4", {"1", "2", "3", "4"}, 3},
        KeyCase{"AboveRangeClampsAndMovesOn", nullptr, "300", {"255", "", "", ""}, 1},
        KeyCase{"ClampThenTypingGoesToNextField", nullptr, "999.1", {"255", "1", "", ""}, 1},
        KeyCase{"DotMovesOn", nullptr, "12.", {"12", "", "", ""}, 1},
        KeyCase{"ZeroFields", nullptr, "10.0.0.255",
                {"10", "0", "0", "255"}, 3},
        KeyCase{"DotInEmptyFieldDoesNotSkip", nullptr, "1..2", {"1", "2", "", ""}, 1},
        KeyCase{"DotInLastFieldIgnored", nullptr, "1.2.3.4.5", {"1", "2", "3", "45"}, 3},
        KeyCase{"BackspaceAtStartGoesToPreviousEnd", nullptr, "12.<BS><BS>5", {"15", "", "", ""}, 0},
        KeyCase{"BackspaceInFirstFieldStays", nullptr, "<BS>7", {"7", "", "", ""}, 0},
        KeyCase{"LeftAtStartGoesToPreviousEnd", nullptr, "1.2<LEFT><LEFT>9", {"19", "2", "", ""}, 0},
        KeyCase{"RightAtEndGoesToNextStart", nullptr, "12<RIGHT>3", {"12", "3", "", ""}, 1},
        KeyCase{"OtherCharactersRefused", nullptr, "a1b-2 ", {"12", "", "", ""}, 0},
        KeyCase{"PasteWholeAddress", "10.0.0.138", "<PASTE>", {"10", "0", "0", "138"}, 3},
        KeyCase{"PasteAddressWithBlanksAndClamp", " 172.16.300.4\n", "<PASTE>",
                {"172", "16", "255", "4"}, 3},
        KeyCase{"PasteOverwritesTypedFields", "1.2.3.4", "9.9<PASTE>", {"1", "2", "3", "4"}, 3},
        KeyCase{"PasteDigitsIntoOneField", "4x5", "<PASTE>", {"45", "", "", ""}, 0}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(IpAddressEditTest, BlankAndValueReadings) {
  EXPECT_TRUE(ip->isBlank());
  EXPECT_EQ(ip->value(), 0u);

  type("10.0");  // partly filled: not blank, empty fields count as 0
  EXPECT_FALSE(ip->isBlank());
  EXPECT_EQ(ip->value(), 0x0A000000u);
  EXPECT_EQ(ip->fields(), (std::array<std::uint8_t, 4>{10, 0, 0, 0}));

  ip->clear();
  EXPECT_TRUE(ip->isBlank());

  ip->setValue(0);  // 0.0.0.0 is set, not blank
  EXPECT_FALSE(ip->isBlank());
  EXPECT_EQ(texts(), (std::array<QString, 4>{"0", "0", "0", "0"}));

  ip->setValue(0xC0A80114u);
  EXPECT_EQ(ip->fields(), (std::array<std::uint8_t, 4>{192, 168, 1, 20}));
  EXPECT_EQ(ip->value(), 0xC0A80114u);
}

TEST_F(IpAddressEditTest, ChangeSignalForTypingAndSetting) {
  QSignalSpy spy(ip, &IpAddressEdit::addressChanged);
  type("1");
  EXPECT_GE(spy.count(), 1);
  spy.clear();
  ip->setValue(0x01020304u);
  EXPECT_EQ(spy.count(), 1);
  spy.clear();
  ip->clear();
  EXPECT_EQ(spy.count(), 1);
}

TEST_F(IpAddressEditTest, OneTabStopFromOutside) {
  before->setFocus();
  type("<TAB>");
  EXPECT_EQ(focusedField(), 0);
  EXPECT_TRUE(ip->hasFieldFocus());
  type("1.2<TAB>");  // from the second field Tab leaves the input
  EXPECT_EQ(focused(), after);
  type("<BTAB>");
  EXPECT_EQ(focusedField(), 0);
  type("<RIGHT><BTAB>");  // from field 1 Backtab leaves too
  EXPECT_EQ(focused(), before);
}

TEST_F(IpAddressEditTest, SetFocusGoesToFirstFieldWithItsTextSelected) {
  ip->setValue(0x0A000001u);
  after->setFocus();
  ip->setFocus();
  EXPECT_EQ(focusedField(), 0);
  type("7");  // replaces the selected "10"
  EXPECT_EQ(ip->field(0)->text(), "7");
}

TEST_F(IpAddressEditTest, AccessibleLabelReachesTheFields) {
  ip->setAccessibleLabel(QStringLiteral("Adresse IP"));
  EXPECT_EQ(ip->accessibleName(), "Adresse IP");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ip->field(i)->accessibleName(), "Adresse IP");
}

}  // namespace
