// The address field of the programming panel: typing, editing keys, the step keys, text and
// values set in code, leaving the field, and the central type's limit, in fuzzed order on the
// real main window. Whatever happens, the field holds a number, the group B field and the
// decoder number follow it, a field left holds a value within its limits, and no handler
// raises (a message box would report that).
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <cstdint>
#include <cstring>

#include "../tests/support/TestedWindow.h"
#include "FuzzApplication.h"
#include "FuzzCheck.h"
#include "window/AddressSpinBox.h"
#include "window/DecoderModel.h"

namespace {

class FuzzedBytes {
 public:
  FuzzedBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  std::uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }
  QString Text(int length) {
    QByteArray text;
    for (int i = 0; i < length && !Empty(); ++i) text.append(static_cast<char>(Next()));
    return QString::fromLatin1(text);
  }
  int Number() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | Next();
    int number;
    std::memcpy(&number, &value, sizeof number);
    return number;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Keys a user presses in the field; the characters include what the field must refuse.
const char kTyped[] = "0123456789+- a.,x";
const Qt::Key kEditingKeys[] = {Qt::Key_Backspace, Qt::Key_Delete,  Qt::Key_Home, Qt::Key_End,
                                Qt::Key_Left,      Qt::Key_Right,   Qt::Key_Up,   Qt::Key_Down,
                                Qt::Key_PageUp,    Qt::Key_PageDown};

void LeaveField(AddressSpinBox& field) {
  QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(&field, &focusOut);
}

void CheckFieldsAgree(const TestedWindow& window) {
  bool isNumber = false;
  const int address = window.firstAddressEdit->Text().trimmed().toInt(&isNumber);
  Require(isNumber, "the address field always holds a number");
  Require(window.firstAddressEdit->Text().size() <= 4,
          "the address field holds at most four characters");
  Require(
      window.groupBAddressEdit->Text() == QString::number(address + DecoderModel::kGroupBOffset),
      "group B's address is the first address + 4");
  Require(window.decoderNumberLabel->text() ==
              QStringLiteral("Decoderadres: %1").arg(DecoderModel::DecoderNumber(address)),
          "the decoder number follows the first address");
}

// The main window as it stands after connecting: the programming panel shown.
struct ProgrammingPanel {
  ProgrammingPanel() {
    window.programmingPanel->show();
    window.show();
  }
  TestedWindow window;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StartFuzzApplication();
  static ProgrammingPanel panel;
  TestedWindow& window = panel.window;
  window.CentralButton(CentralType::LocoNet)->setChecked(true);
  window.firstAddressEdit->SetValue(1);

  AddressSpinBox& field = *window.firstAddressEdit;
  FuzzedBytes bytes(data, size);
  while (!bytes.Empty()) {
    switch (bytes.Next() % 8) {
      case 0:
        QTest::keyClick(&field, kTyped[bytes.Next() % (sizeof kTyped - 1)]);
        break;
      case 1:
        QTest::keyClick(&field, kEditingKeys[bytes.Next() % std::size(kEditingKeys)]);
        break;
      case 2:
        QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
        break;
      case 3:
        field.SetText(bytes.Text(bytes.Next() % 8));
        break;
      case 4:
        field.SetValue(bytes.Number());
        break;
      case 5:
        LeaveField(field);
        Require(field.Value() >= field.MinValue() && field.Value() <= field.MaxValue(),
                "a field left holds a value within its limits");
        break;
      case 6:
        // Märklin lowers the field's upper limit; the other central types leave it.
        (bytes.Next() % 2 ? window.CentralButton(CentralType::Maerklin)
                          : window.CentralButton(CentralType::LocoNet))
            ->setChecked(true);
        break;
      case 7:
        field.stepBy(bytes.Next() % 2 ? 1 : -1);
        break;
    }
    CheckFieldsAgree(window);
  }
  return 0;
}
