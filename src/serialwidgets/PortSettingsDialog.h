// The port settings dialog: port name, baud rate, data bits, stop bits, parity and flow
// control, each a drop-down list bound to the port being set up.
#pragma once

#include <QDialog>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class PortSettingComboBox;

class PortSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // Fills the six lists; reading the system's port list may raise SerialPortError code 23.
  explicit PortSettingsDialog(QWidget* parent = nullptr);

  // Tests answer the dialog in place of a user: EditPortSettings gives the hook each dialog as
  // soon as it is shown, and the hook closes it (accept(), reject(), close()), at once or later.
  static void SetAnswerHook(std::function<void(PortSettingsDialog&)> hook);
  static const std::function<void(PortSettingsDialog&)>& AnswerHook();

  QGroupBox* selectionPanel;
  QLabel* portLabel;
  QLabel* baudRateLabel;
  QLabel* dataBitsLabel;
  QLabel* stopBitsLabel;
  QLabel* parityLabel;
  QLabel* flowControlLabel;
  PortSettingComboBox* portCombo;
  PortSettingComboBox* baudRateCombo;
  PortSettingComboBox* dataBitsCombo;
  PortSettingComboBox* stopBitsCombo;
  PortSettingComboBox* parityCombo;
  PortSettingComboBox* flowControlCombo;
  QPushButton* connectButton;
  QPushButton* programButton;
};
