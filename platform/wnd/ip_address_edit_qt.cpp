#include "platform/wnd/ip_address_edit_qt.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QStringList>

#include <algorithm>

namespace {

QString onlyDigits(const QString& text) {
  QString digits;
  for (QChar c : text)
    if (c >= u'0' && c <= u'9') digits.append(c);
  return digits;
}

// A field holds at most three digits and never more than 255.
QString fieldText(const QString& digits) {
  const QString kept = digits.left(3);
  return kept.toInt() > 255 ? QStringLiteral("255") : kept;
}

bool isDottedAddress(const QStringList& parts) {
  return parts.size() == 4 && std::all_of(parts.begin(), parts.end(), [](const QString& p) {
           return !p.isEmpty() && p.size() <= 3 && onlyDigits(p) == p;
         });
}

}  // namespace

IpAddressEdit::IpAddressEdit(QWidget* parent) : QFrame(parent) {
  // The Windows control draws a sunken edge round a white box.
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);
  for (int i = 0; i < 4; ++i) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("field%1").arg(i));
    edit->setFrame(false);
    edit->setAlignment(Qt::AlignCenter);
    edit->setMaxLength(3);
    edit->setTextMargins(0, 0, 0, 0);
    edit->setAcceptDrops(false);
    // The fields are reached by the keys below, not by Tab: the input is one
    // tab stop.
    edit->setFocusPolicy(Qt::ClickFocus);
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textChanged, this, &IpAddressEdit::notifyChanged);
    connect(edit, &QLineEdit::textEdited, this, [this, i] { onFieldEdited(i); });
    fields_[static_cast<std::size_t>(i)] = edit;
  }
  layoutFields();
}

bool IpAddressEdit::isBlank() const {
  return std::all_of(fields_.begin(), fields_.end(),
                     [](const QLineEdit* e) { return e->text().isEmpty(); });
}

std::array<std::uint8_t, 4> IpAddressEdit::fields() const {
  std::array<std::uint8_t, 4> bytes{};
  for (std::size_t i = 0; i < 4; ++i)
    bytes[i] = static_cast<std::uint8_t>(std::min(fields_[i]->text().toInt(), 255));
  return bytes;
}

std::uint32_t IpAddressEdit::value() const {
  std::uint32_t address = 0;
  for (std::uint8_t b : fields()) address = (address << 8) | b;
  return address;
}

void IpAddressEdit::setValue(std::uint32_t address) {
  settingAll_ = true;
  for (std::size_t i = 0; i < 4; ++i)
    fields_[i]->setText(QString::number((address >> (24 - 8 * i)) & 0xFFu));
  settingAll_ = false;
  emit addressChanged();
}

void IpAddressEdit::clear() {
  settingAll_ = true;
  for (QLineEdit* e : fields_) e->clear();
  settingAll_ = false;
  emit addressChanged();
}

void IpAddressEdit::setAccessibleLabel(const QString& name) {
  setAccessibleName(name);
  for (QLineEdit* e : fields_) e->setAccessibleName(name);
}

QLineEdit* IpAddressEdit::field(int index) const {
  return fields_.at(static_cast<std::size_t>(index));
}

bool IpAddressEdit::hasFieldFocus() const {
  return indexOf(QApplication::focusWidget()) >= 0;
}

int IpAddressEdit::indexOf(const QObject* object) const {
  const auto it = std::find(fields_.begin(), fields_.end(), object);
  return it == fields_.end() ? -1 : static_cast<int>(it - fields_.begin());
}

void IpAddressEdit::notifyChanged() {
  if (!settingAll_) emit addressChanged();
}

void IpAddressEdit::goToField(int index, Caret caret) {
  QLineEdit* edit = field(index);
  edit->setFocus(Qt::OtherFocusReason);
  switch (caret) {
    case Caret::SelectAll: edit->selectAll(); break;
    case Caret::Start: edit->setCursorPosition(0); break;
    case Caret::End: edit->setCursorPosition(static_cast<int>(edit->text().size())); break;
  }
}

void IpAddressEdit::focusInEvent(QFocusEvent* event) {
  QFrame::focusInEvent(event);
  if (!leaving_) goToField(0, Caret::SelectAll);
}

void IpAddressEdit::leaveToNextControl(bool forward) {
  // Move as if the input itself had the focus, so Tab skips the other fields.
  leaving_ = true;
  setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  leaving_ = false;
  focusNextPrevChild(forward);
  if (QApplication::focusWidget() == this) goToField(0, Caret::SelectAll);
}

void IpAddressEdit::onFieldEdited(int index) {
  QLineEdit* edit = field(index);
  const QString text = fieldText(onlyDigits(edit->text()));
  if (text != edit->text()) {
    const int caret = edit->cursorPosition();
    edit->setText(text);
    edit->setCursorPosition(std::min(caret, static_cast<int>(text.size())));
  }
  if (text.size() == 3 && index < 3) goToField(index + 1, Caret::SelectAll);
}

void IpAddressEdit::pasteText(int index, const QString& text) {
  const QStringList parts = text.trimmed().split(u'.');
  if (isDottedAddress(parts)) {
    settingAll_ = true;
    for (std::size_t i = 0; i < 4; ++i) fields_[i]->setText(fieldText(parts[static_cast<int>(i)]));
    settingAll_ = false;
    emit addressChanged();
    goToField(3, Caret::End);
    return;
  }
  field(index)->insert(onlyDigits(text));
  onFieldEdited(index);
}

bool IpAddressEdit::handleKey(int index, QKeyEvent* key) {
  QLineEdit* edit = field(index);
  if (key->matches(QKeySequence::Paste)) {
    pasteText(index, QApplication::clipboard()->text());
    return true;
  }
  const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
  const bool plain = modifiers == Qt::NoModifier;
  const bool atStart = edit->cursorPosition() == 0 && !edit->hasSelectedText();
  const bool atEnd = edit->cursorPosition() == edit->text().size() && !edit->hasSelectedText();
  switch (key->key()) {
    case Qt::Key_Tab:
      if (!(modifiers & (Qt::ControlModifier | Qt::AltModifier))) {
        leaveToNextControl(!(modifiers & Qt::ShiftModifier));
        return true;
      }
      return false;
    case Qt::Key_Backtab:
      if (!(modifiers & (Qt::ControlModifier | Qt::AltModifier))) {
        leaveToNextControl(false);
        return true;
      }
      return false;
    case Qt::Key_Backspace:
      if (plain && atStart && index > 0) {
        goToField(index - 1, Caret::End);
        return true;
      }
      return false;
    case Qt::Key_Left:
      if (plain && atStart && index > 0) {
        goToField(index - 1, Caret::End);
        return true;
      }
      return false;
    case Qt::Key_Right:
      if (plain && atEnd && index < 3) {
        goToField(index + 1, Caret::Start);
        return true;
      }
      return false;
    default:
      break;
  }
  const QString text = key->text();
  if (text.isEmpty() || !text.at(0).isPrint() ||
      (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
    return false;  // Enter, Escape, shortcuts: the line edit or the dialog acts
  if (text == QLatin1String(".")) {
    // A dot in an empty field is ignored, so "1..2" does not skip a field.
    if (!edit->text().isEmpty() && index < 3) goToField(index + 1, Caret::SelectAll);
    return true;
  }
  if (text.size() == 1 && text.at(0) >= u'0' && text.at(0) <= u'9') return false;
  return true;  // any other character is refused
}

bool IpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
  const int index = indexOf(watched);
  if (index < 0) return QFrame::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) return handleKey(index, static_cast<QKeyEvent*>(event));
  if (event->type() == QEvent::ContextMenu) {
    // The standard menu, with Paste going through the address-aware paste.
    QMenu* menu = field(index)->createStandardContextMenu();
    for (QAction* action : menu->actions()) {
      if (action->objectName() != QLatin1String("edit-paste")) continue;
      disconnect(action, &QAction::triggered, field(index), nullptr);
      connect(action, &QAction::triggered, this,
              [this, index] { pasteText(index, QApplication::clipboard()->text()); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
  }
  return QFrame::eventFilter(watched, event);
}

void IpAddressEdit::layoutFields() {
  const QRect area = contentsRect();
  const int quarter = area.width() / 4;
  const int dotWidth = fontMetrics().horizontalAdvance(u'.') + 2;
  for (int i = 0; i < 4; ++i) {
    const int left = area.left() + i * quarter;
    const int right = i == 3 ? area.right() + 1 : left + quarter - dotWidth;
    field(i)->setGeometry(left, area.top(), std::max(0, right - left), area.height());
  }
}

void IpAddressEdit::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  layoutFields();
}

void IpAddressEdit::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  painter.setPen(palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled,
                                 QPalette::Text));
  const QRect area = contentsRect();
  const int quarter = area.width() / 4;
  const int dotWidth = fontMetrics().horizontalAdvance(u'.') + 2;
  for (int i = 0; i < 3; ++i) {
    const QRect dot(area.left() + (i + 1) * quarter - dotWidth, area.top(), dotWidth,
                    area.height());
    painter.drawText(dot, Qt::AlignCenter, QStringLiteral("."));
  }
}
