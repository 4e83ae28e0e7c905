#pragma once
// Builds a dialog's window and controls from its template, the way the
// Windows dialog manager does from the same rows.
#include <QPixmap>

#include <functional>
#include <map>
#include <vector>

#include "platform/wnd/dialog_units_qt.h"
#include "res/dialog_template.h"

class QDialog;
class QStyle;
class QWidget;

// The picture a control names by resource number (SS_BITMAP); a null pixmap
// when there is none.
using PictureLookup = std::function<QPixmap(int resourceId)>;

struct TemplateControls {
  std::vector<QWidget*> inOrder;   // one widget per template row, in template order
  std::map<int, QWidget*> byId;    // rows whose id is not -1
  DialogBaseUnits baseUnits;       // of the template's font

  QWidget* control(int id) const;  // nullptr when no row has this id
};

// Sets the dialog's title, font, fixed client size, window flags and style,
// and creates one child per template row, in template order:
//   BUTTON  -> QPushButton (default for BS_DEFPUSHBUTTON), QCheckBox
//              (BS_AUTOCHECKBOX) or QGroupBox (BS_GROUPBOX, takes no focus)
//   EDIT    -> QLineEdit, STATIC -> QLabel (text or picture),
//   SysIPAddress32 -> IpAddressEdit, SysAnimate32 -> AnimationControl.
// Each child carries the properties "controlId" and "windowClass" and, unless
// its id is -1, the object name "ctl<id>". WS_VISIBLE gives the initial
// visibility, WS_TABSTOP the Tab focus; the tab order is the template order.
// A label on the same row left of an input gives the input its accessible
// name. Throws std::invalid_argument for a window class it does not know.
TemplateControls buildTemplateDialog(QDialog& dialog, const DialogTemplate& tmpl,
                                     const PictureLookup& pictures = {});

// Qt's "Windows" widget style, one instance for the whole application.
QStyle* windowsDialogStyle();

// The accessible name a label's text gives: without '&' marks, the trailing
// colon and the blanks round it ("Adresse IP : " -> "Adresse IP").
QString labelToAccessibleName(const QString& labelText);

// Places the dialog centred on its owner when the owner is shown and not
// minimised, else on the work area of the screen, and moves it back inside
// the work area where it would reach past an edge.
void centreDialog(QDialog& dialog, QWidget* owner);
