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

  // Tests answer the dialog in place of a user: ShowSetupDialog gives the hook each dialog as
  // soon as it is shown, and the hook closes it (accept(), reject(), close()), at once or later.
  static void SetAnswerHook(std::function<void(TComSetupFrm&)> hook);
  static const std::function<void(TComSetupFrm&)>& AnswerHook();

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
