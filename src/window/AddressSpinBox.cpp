#include "window/AddressSpinBox.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <algorithm>

#include "platform/ExceptionDisplay.h"

AddressSpinBox::AddressSpinBox(QWidget* parent) : QAbstractSpinBox(parent) {
  setKeyboardTracking(true);
  setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
  connect(lineEdit(), &QLineEdit::textChanged, this, [this] {
    if (OnChange) RunGuarded([this] { OnChange(this); });
  });
}

void AddressSpinBox::SetMaxLength(int value) {
  lineEdit()->setMaxLength(value);
}

int AddressSpinBox::Value() const {
  bool ok = false;
  const int value = Text().toInt(&ok);
  return ok ? value : minValue_;
}

void AddressSpinBox::SetValue(int value) {
  SetText(QString::number(Clamped(value)));
}

QString AddressSpinBox::Text() const {
  return lineEdit()->text();
}

void AddressSpinBox::SetText(const QString& text) {
  if (text != lineEdit()->text()) lineEdit()->setText(text);
}

void AddressSpinBox::stepBy(int steps) {
  if (isReadOnly() || !isEnabled()) return;
  SetValue(Value() + steps * increment_);
  lineEdit()->selectAll();
}

QValidator::State AddressSpinBox::validate(QString& input, int&) const {
  // Digits and a sign only, as the keyboard filter of a numeric field; range is left to the
  // moment the field loses the focus.
  static const QRegularExpression numeric(QStringLiteral("^[+-]?[0-9]*$"));
  return numeric.match(input).hasMatch() ? QValidator::Acceptable : QValidator::Invalid;
}

QAbstractSpinBox::StepEnabled AddressSpinBox::stepEnabled() const {
  return isReadOnly() ? StepNone : (StepUpEnabled | StepDownEnabled);
}

void AddressSpinBox::focusOutEvent(QFocusEvent* event) {
  const int value = Value();
  if (Clamped(value) != value) SetValue(value);
  QAbstractSpinBox::focusOutEvent(event);
}

int AddressSpinBox::Clamped(int value) const {
  if (minValue_ == maxValue_) return value;
  return std::clamp(value, minValue_, maxValue_);
}
