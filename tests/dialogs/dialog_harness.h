#pragma once
// Drives the real dialogs offscreen: message boxes answered by the test,
// controls found by id, modal dialogs handled when they appear.
#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "platform/wnd/dialog.h"
#include "platform/wnd/platform.h"

class IpAddressEdit;
class QDialog;

struct ShownBox {
  bool owned;       // owned by a dialog (false: ownerless)
  bool modal;
  std::string text;
  std::string caption;
  int depth;        // how many boxes were open when this one opened
};

class ScriptedBoxes final : public wnd::MessageBoxPresenter {
 public:
  int showModal(wnd::Dialog* owner, const std::string& text, const std::string& caption) override;
  void showModeless(const std::string& text, const std::string& caption, std::function<void()> closed) override;

  std::vector<ShownBox> shown;
  // Runs while a modal box is "open", before the user closes it.
  std::function<void(const ShownBox&)> whileOpen;

 private:
  int open_ = 0;
};

class DialogTest : public testing::Test {
 public:
  void SetUp() override;
  void TearDown() override;

  // Makes the dialog the application's main window, as start-up does.
  static void makeMainWindow(wnd::Dialog& dialog);
  // The record as start-up leaves it.
  static void setHost(const char* hostIp, const char* mask, const char* gateway, const char* dns);

  static QWidget* control(wnd::Dialog& dialog, int id);
  static IpAddressEdit* addressInput(wnd::Dialog& dialog, int id);
  static QDialog* window(wnd::Dialog& dialog);
  // The control that has (or will have, once shown) the keyboard focus.
  static QWidget* focusedControl(wnd::Dialog& dialog);
  static void typeAddress(wnd::Dialog& dialog, int id, const QString& text);
  static void typeLicence(wnd::Dialog& dialog, const QString& text);
  static void click(wnd::Dialog& dialog, int id);
  static std::string buttonText(wnd::Dialog& dialog, int id);
  // Processes events until pred holds or the limit passes.
  static bool waitFor(const std::function<bool()>& pred, int milliseconds = 5000);
  // Runs action on the next modal dialog titled title once it shows.
  static void whenDialogShows(const QString& title, std::function<void(QDialog&)> action);

  ScriptedBoxes boxes;
};
