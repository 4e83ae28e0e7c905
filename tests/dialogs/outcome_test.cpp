// What the user is told for each status, and the success dialog with its
// shortcut file and page.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "exchange/exchange_status.h"
#include "settings/box_settings.h"
#include "tests/dialogs/dialog_harness.h"
#include "ui/control_ids.h"
#include "ui/nestiq_dlg.h"

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool exists(const std::string& path) {
  struct stat st{};
  return ::lstat(path.c_str(), &st) == 0;
}

class Outcome : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_TRUE(home.isValid());
    // A desktop of our own and an xdg-open that only writes down its address.
    savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("HOME", home.path().toUtf8().constData(), 1);
    unsetenv("XDG_CONFIG_HOME");
    ::mkdir(bin().c_str(), 0755);
    std::ofstream(bin() + "/xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$*\" >> \"" << opened() << "\"\n";
    ::chmod((bin() + "/xdg-open").c_str(), 0755);
    setenv("PATH", (bin() + ":" + savedPath).c_str(), 1);
    copyToField(BoxSettings.licence, "LIC-42");
    copyToField(BoxSettings.boxIp, "192.168.1.50");
    copyToField(BoxSettings.mask, "255.255.255.0");
  }
  void TearDown() override {
    setenv("HOME", savedHome.c_str(), 1);
    setenv("PATH", savedPath.c_str(), 1);
    DialogTest::TearDown();
  }
  std::string bin() const { return home.path().toStdString() + "/bin"; }
  std::string opened() const { return home.path().toStdString() + "/opened.txt"; }
  std::string desktop() const { return home.path().toStdString() + "/Desktop"; }
  std::string shortcut() const { return desktop() + "/BOX.url"; }
  // The page opener runs detached: give it a moment to write its whole line.
  std::string openedPages(bool expectSome) const {
    if (expectSome) {
      waitFor(
          [&] {
            const std::string s = readFile(opened());
            return !s.empty() && s.back() == '\n';
          },
          3000);
    }
    return readFile(opened());
  }

  // Handles the success dialog: ticks the boxes, then ends it with OK or Escape.
  void answerSuccessDialog(bool shortcut, bool page, bool ok) {
    whenDialogShows(QString::fromUtf8("Box configurée"), [=, this](QDialog& w) {
      auto* add = w.findChild<QCheckBox*>("ctl1010");
      auto* open = w.findChild<QCheckBox*>("ctl1011");
      ASSERT_TRUE(add && open);
      EXPECT_FALSE(add->isChecked());
      EXPECT_FALSE(open->isChecked());
      summary = w.findChild<QLabel*>("ctl1009")->text().toStdString();
      add->setChecked(shortcut);
      open->setChecked(page);
      if (ok)
        w.findChild<QAbstractButton*>("ctl1")->click();
      else
        QTest::keyClick(&w, Qt::Key_Escape);
    });
  }

  QTemporaryDir home;
  std::string savedHome, savedPath, summary;
};

TEST_F(Outcome, EveryFailureStatusShowsItsTextAndCaption) {
  CNestiqDlg dlg;
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  struct Case {
    unsigned code;
    const char* caption;
  } cases[] = {{20, "Erreur"}, {30, "Erreur"}, {31, "Erreur"}, {32, "Erreur"},
               {33, "Erreur"}, {34, "Erreur"}, {35, "nestiq"}, {36, "nestiq"}};
  for (const auto& c : cases) {
    boxes.shown.clear();
    BoxSettings.busy = true;
    // Only the low 16 bits carry the code.
    dlg.PostMessage(WM_EXCHANGE_STATUS, c.code | 0x50000u, 7);
    ASSERT_TRUE(waitFor([&] { return !boxes.shown.empty(); })) << c.code;
    EXPECT_EQ(boxes.shown[0].caption, c.caption) << c.code;
    EXPECT_TRUE(boxes.shown[0].owned);
    EXPECT_FALSE(BoxSettings.busy);
  }
  EXPECT_EQ(boxes.shown[0].text,
            "La box ne sait pas s'authentifier avec le Keldrun\nSi vous voyez ce message, veuillez contacter\nla "
            "hotline Quenorix au 00 11 22 33 44");
}

TEST_F(Outcome, ASecondStatusOpensItsBoxOverTheFirst) {
  CNestiqDlg dlg;
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  boxes.whileOpen = [&](const ShownBox& box) {
    if (box.depth == 0) {
      dlg.PostMessage(WM_EXCHANGE_STATUS, StatusBadDns, 0);
      waitFor([&] { return boxes.shown.size() == 2; }, 2000);
    }
  };
  dlg.PostMessage(WM_EXCHANGE_STATUS, StatusTimedOut, 0);
  ASSERT_TRUE(waitFor([&] { return boxes.shown.size() == 2; }));
  EXPECT_EQ(boxes.shown[1].text, "Le Serveur DNS est incorrect");
  EXPECT_EQ(boxes.shown[1].depth, 1);
}

TEST_F(Outcome, SuccessWithBothTickedWritesTheShortcutThenOpensThePage) {
  ::mkdir(desktop().c_str(), 0755);
  std::ofstream(shortcut()) << "an older shortcut, longer than the new one ...........................................";
  CNestiqDlg dlg;
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  answerSuccessDialog(true, true, true);
  dlg.WindowProc(WM_EXCHANGE_STATUS, StatusConfigured, 0);
  EXPECT_EQ(summary, "La Box LIC-42 a été configurée :\nIP : 192.168.1.50\nMasque : 255.255.255.0");
  EXPECT_EQ(readFile(shortcut()),
            "[DEFAULT]\nBASEURL=http://192.168.1.50/\n[InternetShortcut]\nURL=http://192.168.1.50/\n");
  EXPECT_EQ(openedPages(true), "http://192.168.1.50/\n");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Outcome, OkWithNothingTickedOrEscapeDoNothing) {
  ::mkdir(desktop().c_str(), 0755);
  CNestiqDlg dlg;
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  answerSuccessDialog(false, false, true);
  dlg.WindowProc(WM_EXCHANGE_STATUS, StatusConfigured, 0);
  answerSuccessDialog(true, true, false);  // ticked, then Escape
  dlg.WindowProc(WM_EXCHANGE_STATUS, StatusConfigured, 0);
  QTest::qWait(300);
  EXPECT_FALSE(exists(shortcut()));
  EXPECT_FALSE(exists(opened()));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Outcome, WithoutADesktopFolderNoFileButThePageStillOpens) {
  CNestiqDlg dlg;
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  answerSuccessDialog(true, true, true);
  dlg.WindowProc(WM_EXCHANGE_STATUS, StatusConfigured, 0);
  EXPECT_FALSE(exists(desktop()));
  EXPECT_EQ(openedPages(true), "http://192.168.1.50/\n");
}

TEST_F(Outcome, ShortcutNeverFollowsALinkOrReplacesAFolder) {
  ::mkdir(desktop().c_str(), 0755);
  const std::string elsewhere = home.path().toStdString() + "/elsewhere.txt";
  ASSERT_EQ(::symlink(elsewhere.c_str(), shortcut().c_str()), 0);
  CNestiqDlg dlg;
  makeMainWindow(dlg);
  ASSERT_TRUE(dlg.Create());
  answerSuccessDialog(true, false, true);
  dlg.WindowProc(WM_EXCHANGE_STATUS, StatusConfigured, 0);
  EXPECT_FALSE(exists(elsewhere));
  ::unlink(shortcut().c_str());
  ::mkdir(shortcut().c_str(), 0755);
  answerSuccessDialog(true, false, true);
  dlg.WindowProc(WM_EXCHANGE_STATUS, StatusConfigured, 0);
  struct stat st{};
  ASSERT_EQ(::stat(shortcut().c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
