#include <gtest/gtest.h>

#include "tests/gui/qt_printers.h"

#include <QDialog>

#include "platform/wnd/template_dialog_qt.h"
#include "ui/control_ids.h"

namespace {

TEST(ShippedTemplates, EachBuildsAndTheMainDialogInputsAreNamedByTheirLabels) {
  for (int id : {IDD_ABOUTBOX, IDD_NESTIQ_DIALOG, IDD_CONFIGURED}) {
    const DialogTemplate* t = findDialogTemplate(id);
    ASSERT_NE(t, nullptr) << id;
    QDialog dialog;
    const TemplateControls built = buildTemplateDialog(dialog, *t);
    EXPECT_EQ(built.inOrder.size(), t->controls.size()) << id;
    if (id != IDD_NESTIQ_DIALOG) continue;
    EXPECT_EQ(built.control(IDC_LICENCE)->accessibleName(), "Licence");
    EXPECT_EQ(built.control(IDC_IPADDRESS)->accessibleName(), "Adresse IP");
    EXPECT_EQ(built.control(IDC_MASK)->accessibleName(), "Masque de sous-réseau");
    EXPECT_EQ(built.control(IDC_GATEWAY)->accessibleName(), "Passerelle par défaut");
    EXPECT_EQ(built.control(IDC_DNS)->accessibleName(), "Serveur DNS");
  }
}

}  // namespace
