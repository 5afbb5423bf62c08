// The port settings dialog: port name, baud rate, data bits, stop bits, parity and flow
// control, each a drop-down list bound to the port being set up.
#pragma once

#include <QDialog>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class TComComboBox;

class TComSetupFrm : public QDialog {
  Q_OBJECT

 public:
  // Fills the six lists; reading the system's port list may raise EComPort code 23.
  explicit TComSetupFrm(QWidget* parent = nullptr);

  // Shows the dialog modally and returns how it was closed (Accepted for OK); the port list
  // follows adapters plugged in or pulled out until then. With a hook
  // installed, the hook drives the dialog instead: tests choose items and close it that way,
  // so that nothing waits for a user.
  int Execute();
  static void SetExecHook(std::function<int(TComSetupFrm&)> hook);

  QGroupBox* selectionPanel;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  QLabel* Label5;
  QLabel* Label6;
  TComComboBox* Combo1;
  TComComboBox* Combo2;
  TComComboBox* Combo3;
  TComComboBox* Combo4;
  TComComboBox* Combo5;
  TComComboBox* Combo6;
  QPushButton* connectButton;
  QPushButton* programButton;
};
