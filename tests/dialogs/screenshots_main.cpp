// Draws the dialogs as a user sees them into PNG files for the docs:
//   nestiq-screenshots OUTPUT_DIR [SUFFIX]
#include <QApplication>
#include <QDialog>
#include <QPixmap>
#include <QStyleFactory>
#include <QTimer>

#include <cstdio>
#include <string>

#include "platform/wnd/window_host_qt.h"
#include "settings/box_settings.h"
#include "ui/configured_dlg.h"
#include "ui/nestiq_dlg.h"
#include "ui/outcome_texts.h"

namespace {

bool save(wnd::Dialog& dialog, const std::string& path) {
  auto* host = dynamic_cast<wnd::QtWindowHost*>(dialog.host());
  if (!host) return false;
  QApplication::processEvents();
  const bool ok = host->window()->grab().save(QString::fromStdString(path));
  std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: nestiq-screenshots OUTPUT_DIR [SUFFIX]\n");
    return 2;
  }
  const std::string dir = argv[1];
  const std::string suffix = argc > 2 ? argv[2] : "";
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  if (QStyle* style = QStyleFactory::create("Windows")) QApplication::setStyle(style);

  copyToField(BoxSettings.hostIp, "192.168.1.20");
  copyToField(BoxSettings.mask, "255.255.255.0");
  copyToField(BoxSettings.gateway, "192.168.1.1");
  copyToField(BoxSettings.dns, "192.168.1.1");
  bool ok = true;
  {
    CNestiqDlg main;
    ok &= main.Create() && save(main, dir + "/main-dialog" + suffix + ".png");
  }
  copyToField(BoxSettings.licence, "KQV-2026-0042");
  copyToField(BoxSettings.boxIp, "192.168.1.50");
  {
    CConfiguredDlg configured;
    configured.m_strSummary = configuredSummary(BoxSettings);
    ok &= configured.Create() && save(configured, dir + "/success-dialog" + suffix + ".png");
  }
  return ok ? 0 : 1;
}
