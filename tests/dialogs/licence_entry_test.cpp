// The licence as a user really enters it into the edit box, typed or pasted:
// a NUL, control characters, characters outside the code page, any length.
// The record gets what the box will be sent; nothing else changes.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <cstring>

#include "settings/box_settings.h"
#include "tests/dialogs/dialog_harness.h"
#include "ui/control_ids.h"
#include "ui/nestiq_dlg.h"

namespace {

struct EntryCase {
  const char* name;
  QString text;
  bool paste;            // through the clipboard, else typed key by key
  const char* expected;  // the record's licence; nullptr: refused by rule 1
};
void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.name; }

class LicenceEntry : public DialogTest, public testing::WithParamInterface<EntryCase> {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_EQ(std::system(NESTIQ_NETNS_DIR "/in-private-netns"), 0) << "must run in a private network namespace";
    setHost("192.168.1.20", "255.255.255.0", "192.168.1.1", "192.168.1.1");
  }
};

QString withNul(const char* before, const char* after) {
  return QString::fromUtf8(before) + QChar(u'\0') + QString::fromUtf8(after);
}

TEST_P(LicenceEntry, ReachesTheRecordAsItWillBeSent) {
  const EntryCase& c = GetParam();
  ExchangeSetup setup;
  setup.timing.answerWait = std::chrono::milliseconds(200);
  CNestiqDlg dlg(nullptr, setup);
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  typeAddress(dlg, IDC_IPADDRESS, "192.168.1.50");
  auto* edit = qobject_cast<QLineEdit*>(control(dlg, IDC_LICENCE));
  edit->clear();
  edit->setFocus();
  if (c.paste) {
    QApplication::clipboard()->setText(c.text);
    edit->paste();
  } else {
    // Key by key, each carrying its character, as a keyboard layout sends it.
    for (const QChar ch : c.text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
      QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(edit, &press);
      QApplication::sendEvent(edit, &release);
    }
  }
  click(dlg, IDC_LAUNCH);
  if (!c.expected) {
    ASSERT_EQ(boxes.shown.size(), 1u) << "edit box holds " << edit->text().size() << " characters";
    EXPECT_EQ(boxes.shown[0].text, "Vous devez entrer un # de licence");
    EXPECT_FALSE(BoxSettings.busy);
    EXPECT_STREQ(BoxSettings.licence, "");
    return;
  }
  EXPECT_TRUE(boxes.shown.empty());
  ASSERT_TRUE(BoxSettings.busy);
  EXPECT_STREQ(BoxSettings.licence, c.expected);
  EXPECT_LE(std::strlen(BoxSettings.licence), 49u);
  click(dlg, IDC_LAUNCH);  // Cancel
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LicenceEntry,
    testing::Values(
        EntryCase{"nul_pasted_first", withNul("", "ABC"), true, nullptr},
        EntryCase{"nul_pasted_inside", withNul("AB", "CD"), true, "AB"},
        EntryCase{"control_characters_pasted", QString::fromUtf8("A\x01\x1f\x7f" "B"), true, "A\x01\x1f\x7f" "B"},
        EntryCase{"outside_the_code_page_pasted", QString(200, QChar(0x65E5)), true,
                  "?????????????????????????????????????????????????"},
        EntryCase{"outside_the_plane_pasted", QString::fromUtf8("\U0001F600").repeated(60), true,
                  "?????????????????????????????????????????????????"},
        EntryCase{"accents_and_euro_typed", QString::fromUtf8("Clé 1€ ŒŸ"), false, "Cl\xE9 1\x80 \x8C\x9F"},
        EntryCase{"long_text_typed", QString(120, QChar('k')), false,
                  "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
