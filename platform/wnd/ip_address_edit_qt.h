#pragma once
// An IPv4 address input that behaves like the Windows SysIPAddress32 control:
// four fields, each empty or 0-255, with dots between them in one framed box.
#include <QFrame>

#include <array>
#include <cstdint>

class QLineEdit;

class IpAddressEdit : public QFrame {
  Q_OBJECT

 public:
  explicit IpAddressEdit(QWidget* parent = nullptr);

  // True exactly when all four fields are empty.
  bool isBlank() const;
  // First field in the most significant byte; an empty field counts as 0.
  std::uint32_t value() const;
  // The four fields in order, empty ones as 0.
  std::array<std::uint8_t, 4> fields() const;
  // Sets all four fields; the input is not blank afterwards.
  void setValue(std::uint32_t address);
  // Empties all four fields.
  void clear();

  // The name a screen reader says, on the input and on each of its fields
  // (the focus always sits in one of the fields).
  void setAccessibleLabel(const QString& name);

  // The field editors, first to fourth (for tests and focus checks).
  QLineEdit* field(int index) const;
  // True when one of the fields has the keyboard focus.
  bool hasFieldFocus() const;

 signals:
  // Any change of any field, typed or set.
  void addressChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  enum class Caret { SelectAll, Start, End };
  int indexOf(const QObject* object) const;
  void goToField(int index, Caret caret);
  bool handleKey(int index, QKeyEvent* key);
  void leaveToNextControl(bool forward);
  void pasteText(int index, const QString& text);
  void onFieldEdited(int index);
  void layoutFields();
  void notifyChanged();

  std::array<QLineEdit*, 4> fields_{};
  bool settingAll_ = false;
  bool leaving_ = false;
};
