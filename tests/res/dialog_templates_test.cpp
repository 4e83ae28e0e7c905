#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "res/dialog_template.h"
#include "res/win_styles.h"
#include "ui/control_ids.h"

namespace {

const DialogTemplate& dialog(int id) {
  const DialogTemplate* d = findDialogTemplate(id);
  if (d == nullptr) throw std::runtime_error("no template " + std::to_string(id));
  return *d;
}

const ControlTemplate& control(int dialogId, int controlId) {
  for (const ControlTemplate& c : dialog(dialogId).controls) {
    if (c.id == controlId) return c;
  }
  throw std::runtime_error("no control " + std::to_string(controlId));
}

TEST(DialogTemplates, UnknownNumbersHaveNoTemplate) {
  for (int id : {0, -1, 101, 128, 129, 135, 1006}) {
    EXPECT_EQ(findDialogTemplate(id), nullptr) << id;
  }
}

struct HeaderCase {
  int id;
  bool extended;
  const char* title;
  int w, h;
  std::uint32_t style, exStyle;
  const char* font;
  std::size_t controls;
};

TEST(DialogTemplates, TitlesSizesStylesAndFonts) {
  const HeaderCase cases[] = {
      {IDD_ABOUTBOX, true, "Version 3.2", 100, 30, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT,
       WS_EX_TOOLWINDOW, "Arial", 1},
      {IDD_NESTIQ_DIALOG, true, "Paramétrages Box", 170, 122,
       WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, WS_EX_APPWINDOW,
       "MS Sans Serif", 14},
      {IDD_CONFIGURED, false, "Box configurée", 147, 98,
       WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, "MS Sans Serif", 4},
  };
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.id);
    const DialogTemplate& d = dialog(c.id);
    EXPECT_EQ(d.id, c.id);
    EXPECT_EQ(d.extended, c.extended);
    EXPECT_STREQ(d.title, c.title);
    EXPECT_EQ(d.x, 0);
    EXPECT_EQ(d.y, 0);
    EXPECT_EQ(d.w, c.w);
    EXPECT_EQ(d.h, c.h);
    EXPECT_EQ(d.style, c.style);
    EXPECT_EQ(d.exStyle, c.exStyle);
    EXPECT_STREQ(d.fontName, c.font);
    EXPECT_EQ(d.pointSize, 8);
    EXPECT_EQ(d.weight, 0);
    EXPECT_FALSE(d.italic);
    EXPECT_EQ(d.charset, 1);
    EXPECT_EQ(d.controls.size(), c.controls);
    // Every dialog opens centred: no alignment style.
    EXPECT_EQ(d.style & (DS_ABSALIGN | DS_CENTER | DS_CENTERMOUSE), 0u);
  }
}

TEST(DialogTemplates, ControlsInTemplateOrder) {
  auto ids = [](int dialogId) {
    std::vector<int> out;
    for (const ControlTemplate& c : dialog(dialogId).controls) out.push_back(c.id);
    return out;
  };
  EXPECT_EQ(ids(IDD_ABOUTBOX), std::vector<int>{-1});
  EXPECT_EQ(ids(IDD_NESTIQ_DIALOG),
            (std::vector<int>{1006, 1001, 1002, 1012, 1013, 1004, 1014, 1000, -1, -1, 1003, -1, -1, -1}));
  EXPECT_EQ(ids(IDD_CONFIGURED), (std::vector<int>{1, 1009, 1010, 1011}));
}

struct RowCase {
  int dialogId;
  std::size_t index;  // position in template order
  ControlTemplate expected;
};

TEST(DialogTemplates, RowsFieldByField) {
  const RowCase cases[] = {
      {IDD_ABOUTBOX, 0, {-1, "STATIC", "", 135, 0, 0, 100, 33, WS_CHILD | WS_VISIBLE | SS_BITMAP}},
      {IDD_NESTIQ_DIALOG, 0,
       {1006, "EDIT", "", 0, 62, 13, 102, 13,
        WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL}},
      {IDD_NESTIQ_DIALOG, 4,
       {1013, "SysIPAddress32", "IPAddress1", 0, 89, 72, 75, 13, WS_CHILD | WS_VISIBLE | WS_TABSTOP}},
      {IDD_NESTIQ_DIALOG, 5,
       {1004, "BUTTON", "Lancer", 0, 5, 88, 133, 29, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON}},
      {IDD_NESTIQ_DIALOG, 7,
       {1000, "BUTTON", "Configuration", 0, 2, 0, 166, 120, WS_CHILD | WS_VISIBLE | BS_GROUPBOX}},
      {IDD_NESTIQ_DIALOG, 8,
       {-1, "STATIC", "Adresse IP : ", 0, 8, 27, 42, 13,
        WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_CENTERIMAGE}},
      {IDD_NESTIQ_DIALOG, 9,
       {-1, "STATIC", "Masque de sous-réseau :", 0, 8, 43, 81, 13,
        WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_CENTERIMAGE}},
      {IDD_NESTIQ_DIALOG, 10,
       {1003, "SysAnimate32", "Animate1", 0, 60, 91, 24, 24, WS_CHILD | WS_VISIBLE | WS_TABSTOP}},
      {IDD_NESTIQ_DIALOG, 11,
       {-1, "STATIC", "Licence : ", 0, 8, 13, 54, 13,
        WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_CENTERIMAGE}},
      {IDD_NESTIQ_DIALOG, 12,
       {-1, "STATIC", "Passerelle par défaut :", 0, 8, 58, 76, 13,
        WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_CENTERIMAGE}},
      {IDD_CONFIGURED, 1,
       {1009, "STATIC", "", 0, 7, 7, 133, 40, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_GROUP | SS_LEFT}},
      {IDD_CONFIGURED, 3,
       {1011, "BUTTON", "Lancer l'administration de la box", 0, 7, 62, 133, 12,
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX}},
  };
  for (const RowCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "dialog " << c.dialogId << " row " << c.index + 1);
    ASSERT_LT(c.index, dialog(c.dialogId).controls.size());
    const ControlTemplate& got = dialog(c.dialogId).controls[c.index];
    EXPECT_EQ(got.id, c.expected.id);
    EXPECT_STREQ(got.windowClass, c.expected.windowClass);
    EXPECT_STREQ(got.text, c.expected.text);
    EXPECT_EQ(got.textResource, c.expected.textResource);
    EXPECT_EQ(got.x, c.expected.x);
    EXPECT_EQ(got.y, c.expected.y);
    EXPECT_EQ(got.w, c.expected.w);
    EXPECT_EQ(got.h, c.expected.h);
    EXPECT_EQ(got.style, c.expected.style);
  }
}

TEST(DialogTemplates, MainDialogTabOrderAndNoMnemonics) {
  std::vector<int> tabStops;
  for (const ControlTemplate& c : dialog(IDD_NESTIQ_DIALOG).controls) {
    if (c.style & WS_TABSTOP) tabStops.push_back(c.id);
    EXPECT_EQ(std::string(c.text).find('&'), std::string::npos) << c.text;
  }
  EXPECT_EQ(tabStops, (std::vector<int>{IDC_LICENCE, IDC_IPADDRESS, IDC_MASK, IDC_GATEWAY, IDC_DNS,
                                        IDC_LAUNCH, IDC_VERSION, IDC_BUSY_ANIMATION}));
}

TEST(DialogTemplates, AnimationSitsCentredOnTheLaunchButton) {
  const ControlTemplate& button = control(IDD_NESTIQ_DIALOG, IDC_LAUNCH);
  const ControlTemplate& anim = control(IDD_NESTIQ_DIALOG, IDC_BUSY_ANIMATION);
  EXPECT_GE(anim.x, button.x);
  EXPECT_GE(anim.y, button.y);
  EXPECT_LE(anim.x + anim.w, button.x + button.w);
  EXPECT_LE(anim.y + anim.h, button.y + button.h);
  // Centres in half units: within one half unit of each other.
  EXPECT_LE(std::abs((2 * anim.x + anim.w) - (2 * button.x + button.w)), 1);
  EXPECT_LE(std::abs((2 * anim.y + anim.h) - (2 * button.y + button.h)), 1);
  // Takes the clip's size, draws opaque and waits to be told to play.
  EXPECT_EQ(anim.style & (ACS_CENTER | ACS_TRANSPARENT | ACS_AUTOPLAY), 0u);
}

TEST(DialogTemplates, OneDefaultButtonWhereEnterActs) {
  for (auto [dialogId, defaultId] : {std::pair{IDD_NESTIQ_DIALOG, IDC_LAUNCH}, {IDD_CONFIGURED, IDOK_BUTTON}}) {
    std::vector<int> defaults;
    for (const ControlTemplate& c : dialog(dialogId).controls) {
      if (std::string(c.windowClass) == "BUTTON" && (c.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        defaults.push_back(c.id);
      }
    }
    EXPECT_EQ(defaults, std::vector<int>{defaultId}) << dialogId;
  }
}

TEST(DialogTemplates, EveryControlIdTheCodeUsesIsInItsDialog) {
  const std::pair<int, std::vector<int>> uses[] = {
      {IDD_NESTIQ_DIALOG,
       {IDC_CONFIGURATION, IDC_IPADDRESS, IDC_MASK, IDC_BUSY_ANIMATION, IDC_LAUNCH, IDC_LICENCE,
        IDC_GATEWAY, IDC_DNS, IDC_VERSION}},
      {IDD_CONFIGURED, {IDOK_BUTTON, IDC_SUMMARY, IDC_ADD_SHORTCUT, IDC_OPEN_ADMIN}},
  };
  for (const auto& [dialogId, ids] : uses) {
    for (int id : ids) {
      int found = 0;
      for (const ControlTemplate& c : dialog(dialogId).controls) found += c.id == id;
      EXPECT_EQ(found, 1) << "control " << id << " in dialog " << dialogId;
    }
  }
  EXPECT_EQ(control(IDD_ABOUTBOX, IDC_STATIC_NONE).textResource, IDB_ABOUT);
}

}  // namespace
