#include "platform/wnd/template_dialog_qt.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>

#include <climits>
#include <stdexcept>
#include <string>

#include "platform/wnd/animation_control_qt.h"
#include "platform/wnd/ip_address_edit_qt.h"
#include "res/win_styles.h"

QWidget* TemplateControls::control(int id) const {
  const auto it = byId.find(id);
  return it == byId.end() ? nullptr : it->second;
}

QStyle* windowsDialogStyle() {
  static QPointer<QStyle> style;
  if (!style) {
    style = QStyleFactory::create(QStringLiteral("Windows"));
    if (!style) return QApplication::style();
    style->setParent(qApp);
  }
  return style;
}

QString labelToAccessibleName(const QString& labelText) {
  QString name;
  for (qsizetype i = 0; i < labelText.size(); ++i) {
    if (labelText[i] == u'&' && i + 1 < labelText.size()) ++i;  // "&&" keeps one '&'
    name.append(labelText[i]);
  }
  name = name.trimmed();
  if (name.endsWith(u':')) name.chop(1);
  return name.trimmed();
}

namespace {

bool isClass(const ControlTemplate& row, const char* name) {
  return QLatin1String(row.windowClass).compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

bool isInput(const ControlTemplate& row) {
  return isClass(row, "EDIT") || isClass(row, "SysIPAddress32");
}

bool isTextLabel(const ControlTemplate& row) {
  return isClass(row, "STATIC") && (row.style & SS_TYPEMASK) != SS_BITMAP && row.text &&
         *row.text;
}

QWidget* createButton(QDialog& dialog, const ControlTemplate& row) {
  const QString text = QString::fromUtf8(row.text);
  switch (row.style & BS_TYPEMASK) {
    case BS_GROUPBOX: {
      // Only a frame with a title: it sits below its siblings and lets clicks
      // through to the controls it surrounds.
      auto* group = new QGroupBox(text, &dialog);
      group->setAttribute(Qt::WA_TransparentForMouseEvents);
      group->lower();
      return group;
    }
    case BS_AUTOCHECKBOX:
      return new QCheckBox(text, &dialog);
    default: {
      auto* button = new QPushButton(text, &dialog);
      button->setDefault((row.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
      return button;
    }
  }
}

QWidget* createStatic(QDialog& dialog, const ControlTemplate& row, const QRect& rect,
                      const PictureLookup& pictures) {
  auto* label = new QLabel(&dialog);
  label->setIndent(0);
  if (row.style & WS_BORDER) {
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
  }
  label->setGeometry(rect);
  if ((row.style & SS_TYPEMASK) == SS_BITMAP) {
    // The control takes the picture's own size, its top-left corner staying.
    const QPixmap picture = pictures ? pictures(row.textResource) : QPixmap();
    if (!picture.isNull()) {
      label->setPixmap(picture);
      label->setGeometry(QRect(rect.topLeft(), picture.deviceIndependentSize().toSize()));
    }
    return label;
  }
  label->setTextFormat(Qt::PlainText);
  label->setText(QString::fromUtf8(row.text));
  if (row.style & SS_CENTERIMAGE) {
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);  // one line, centred vertically
  } else {
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
  }
  return label;
}

QWidget* createControl(QDialog& dialog, const ControlTemplate& row, const QRect& rect,
                       const PictureLookup& pictures) {
  QWidget* widget = nullptr;
  if (isClass(row, "BUTTON")) {
    widget = createButton(dialog, row);
  } else if (isClass(row, "EDIT")) {
    auto* edit = new QLineEdit(QString::fromUtf8(row.text), &dialog);
    edit->setFrame((row.style & WS_BORDER) != 0);
    widget = edit;
  } else if (isClass(row, "STATIC")) {
    return createStatic(dialog, row, rect, pictures);
  } else if (isClass(row, "SysIPAddress32")) {
    widget = new IpAddressEdit(&dialog);  // its template text is never shown
  } else if (isClass(row, "SysAnimate32")) {
    widget = new AnimationControl(&dialog);
  } else {
    throw std::invalid_argument(std::string("unknown window class ") + row.windowClass);
  }
  widget->setGeometry(rect);
  return widget;
}

Qt::FocusPolicy focusPolicyFor(const ControlTemplate& row, QWidget* widget) {
  if (isClass(row, "STATIC") || qobject_cast<QGroupBox*>(widget)) return Qt::NoFocus;
  if (row.style & WS_TABSTOP) return Qt::StrongFocus;
  return isClass(row, "SysAnimate32") ? Qt::NoFocus : Qt::ClickFocus;
}

Qt::WindowFlags windowFlagsFor(const DialogTemplate& tmpl) {
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (tmpl.style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (tmpl.style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
  if (tmpl.style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
  if (tmpl.exStyle & WS_EX_TOOLWINDOW) flags = (flags & ~Qt::WindowType_Mask) | Qt::Tool;
  return flags;
}

// Each text label names the nearest input to its right on the same row (its
// vertical centre within the input's height); the template lists the labels
// of the main dialog after their inputs, so order alone would not do.
void nameInputsFromLabels(const DialogTemplate& tmpl, const std::vector<QWidget*>& widgets) {
  const auto& rows = tmpl.controls;
  std::vector<bool> named(rows.size(), false);
  for (std::size_t l = 0; l < rows.size(); ++l) {
    const ControlTemplate& label = rows[l];
    if (!isTextLabel(label)) continue;
    const int centreTwice = 2 * label.y + label.h;
    std::size_t best = rows.size();
    int bestX = INT_MAX;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const ControlTemplate& input = rows[i];
      if (!isInput(input) || input.x <= label.x || input.x >= bestX) continue;
      if (centreTwice < 2 * input.y || centreTwice > 2 * (input.y + input.h)) continue;
      best = i;
      bestX = input.x;
    }
    if (best == rows.size() || named[best]) continue;
    named[best] = true;
    const QString name = labelToAccessibleName(QString::fromUtf8(label.text));
    if (auto* ip = qobject_cast<IpAddressEdit*>(widgets[best]))
      ip->setAccessibleLabel(name);
    else
      widgets[best]->setAccessibleName(name);
  }
}

}  // namespace

TemplateControls buildTemplateDialog(QDialog& dialog, const DialogTemplate& tmpl,
                                     const PictureLookup& pictures) {
  TemplateControls built;
  const bool ownFont = (tmpl.style & DS_SETFONT) && tmpl.fontName;
  const QFont font = ownFont ? dialogFont(tmpl.fontName, tmpl.pointSize, tmpl.weight, tmpl.italic)
                             : dialogFont("MS Sans Serif", 8, 0, false);
  built.baseUnits = dialogBaseUnits(font);

  dialog.setWindowFlags(windowFlagsFor(tmpl));
  dialog.setWindowTitle(QString::fromUtf8(tmpl.title));
  dialog.setFont(font);
  dialog.setFixedSize(dialogSizeToPixels(tmpl.w, tmpl.h, built.baseUnits));
  dialog.setSizeGripEnabled(false);

  for (const ControlTemplate& row : tmpl.controls) {
    const QRect rect = dialogRectToPixels(row.x, row.y, row.w, row.h, built.baseUnits);
    QWidget* widget = createControl(dialog, row, rect, pictures);
    widget->setProperty("controlId", row.id);
    widget->setProperty("windowClass", QString::fromLatin1(row.windowClass));
    widget->setFocusPolicy(focusPolicyFor(row, widget));
    if (!(row.style & WS_VISIBLE)) widget->hide();
    if (row.id != -1) {
      widget->setObjectName(QStringLiteral("ctl%1").arg(row.id));
      built.byId[row.id] = widget;
    }
    built.inOrder.push_back(widget);
  }

  // Tab order = template order, over the controls that can take the focus.
  QWidget* previous = nullptr;
  for (QWidget* widget : built.inOrder) {
    if (widget->focusPolicy() == Qt::NoFocus) continue;
    if (previous) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
  nameInputsFromLabels(tmpl, built.inOrder);

  QStyle* style = windowsDialogStyle();
  dialog.setStyle(style);
  dialog.setPalette(style->standardPalette());
  for (QWidget* child : dialog.findChildren<QWidget*>()) child->setStyle(style);
  return built;
}

void centreDialog(QDialog& dialog, QWidget* owner) {
  QWidget* ownerWindow = owner ? owner->window() : nullptr;
  QScreen* screen = ownerWindow ? ownerWindow->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const bool onOwner = ownerWindow && ownerWindow->isVisible() && !ownerWindow->isMinimized();
  const QRect around = onOwner ? ownerWindow->frameGeometry() : area;
  const QSize size = dialog.frameGeometry().size();
  int x = (around.left() + around.right() + 1) / 2 - size.width() / 2;
  int y = (around.top() + around.bottom() + 1) / 2 - size.height() / 2;
  // Back inside the work area; the top-left corner wins when it cannot fit.
  x = std::max(area.left(), std::min(x, area.right() + 1 - size.width()));
  y = std::max(area.top(), std::min(y, area.bottom() + 1 - size.height()));
  dialog.move(x, y);
}
