// A numeric field with up and down buttons that behaves as the programming panel needs: a typed
// value stands unchanged while the user types (even outside the limits), the buttons step by
// Increment and clamp, and leaving the field brings the value into the limits. Qt's own spin
// box rejects out-of-range typing, which would make typing "1000" impossible with a limit 248.
#pragma once

#include <QAbstractSpinBox>
#include <functional>

class AddressSpinBox : public QAbstractSpinBox {
  Q_OBJECT

 public:
  explicit AddressSpinBox(QWidget* parent = nullptr);

  // Limits apply only when they differ, as in a field without limits both are 0.
  void SetMinValue(int value) { minValue_ = value; }
  void SetMaxValue(int value) { maxValue_ = value; }
  int MinValue() const { return minValue_; }
  int MaxValue() const { return maxValue_; }
  void SetIncrement(int value) { increment_ = value; }
  void SetMaxLength(int value);

  // The typed text as an integer, or the lower limit when the text is not one.
  int Value() const;
  void SetValue(int value);
  QString Text() const;
  void SetText(const QString& text);

  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;

  // Runs after every change of the text, typed or set.
  std::function<void(QObject* Sender)> OnChange;

 protected:
  StepEnabled stepEnabled() const override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  int Clamped(int value) const;

  int minValue_ = 0;
  int maxValue_ = 0;
  int increment_ = 1;
};
