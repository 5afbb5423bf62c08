// The main window: the user picks the command station (the central type), connects, enters the
// decoder's address and modes, programs the WD10 and closes. It owns every working object of
// the program and picks the link of the chosen central type in each handler.
#pragma once

#include <QByteArray>
#include <QWidget>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class TAboutBox;
class TClientSocket;
class TComLed;
class TComPort;
class TMemo;
class TSpinEdit;
class TTimer;

class TFrm_WD10 : public QWidget {
  Q_OBJECT

 public:
  enum class CentralType { LocoNet, P50X, Lenz, Maerklin, Srcp };

  explicit TFrm_WD10(QWidget* parent = nullptr);
  ~TFrm_WD10() override;

  // Read from the checked radio button at the moment of use, never cached.
  CentralType SelectedCentral() const;

  // The one fixed-length pause of the program; the window keeps working meanwhile. A wait
  // started inside another one never cuts the outer one short.
  void WaitMs(int milliseconds);

  // --- components -------------------------------------------------------------------------
  QGroupBox* GroupBox1;
  QPlainTextEdit* Memo2;
  QRadioButton* RadioButton15;
  QRadioButton* RadioButton16;
  QRadioButton* RadioButton17;
  QRadioButton* RadioButton18;
  QRadioButton* RadioButton19;
  QPushButton* Button1;

  QGroupBox* GroupBox2;
  TSpinEdit* SpinEdit1;
  QLabel* Label1;
  TSpinEdit* SpinEdit2;
  QGroupBox* GroupBox3;
  QGroupBox* GroupBox4;
  QRadioButton* RadioButton[15];  // RadioButton[1] … RadioButton[14]: the mode buttons
  QPushButton* Button2;
  QPushButton* Button3;
  QPushButton* Button4;

  TMemo* Memo1;
  TMemo* Memo3;
  TMemo* memo4;

  QGroupBox* GroupBox5;
  TComLed* ComLed1;
  TComLed* ComLed2;
  TComLed* ComLed3;
  QLabel* Label2;
  QPushButton* Button5;

  TTimer* Timer1;
  TTimer* Timer2;
  TTimer* Timer3;
  TTimer* Timer4;
  TTimer* Timer5;

  TComPort* ComPort1;
  TClientSocket* ClientSocket1;  // SRCP command session
  TClientSocket* ClientSocket2;  // SRCP information session
  TAboutBox* AboutBox;           // the version window, shown by Button4

  // Every byte received on ComPort1 and not yet consumed, as two upper-case hex digits a byte.
  QByteArray ReceiveHexBuffer;
  bool XPrefixMode = false;

  // --- handlers ---------------------------------------------------------------------------
  void FormCreate();
  void RadioButton15Click();
  void RadioButton16Click();
  void RadioButton17Click();
  void RadioButton18Click();
  void RadioButton19Click();
  void SpinEdit1Change();
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();
  void Timer1Timer();
  void Timer2Timer();
  void Timer3Timer();
  void Timer4Timer();
  void Timer5Timer();
  void ComPort1RxChar(int count);
  void ComPort1CTSChange(bool onOff);
  void ClientSocket1Read();
  void ClientSocket2Read();

  // Mode numbers of the checked buttons of group A and group B.
  int ModeOfGroupA() const;
  int ModeOfGroupB() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Marks a handler that waits and so lets other events run inside it; a close request that
  // arrives meanwhile is carried out once the outermost such handler has returned.
  class LongHandler;

  void BuildWindow();
  void BindHandlers();
  void SetButton4Visible(bool visible);
  void StepPause();
  void PerformAccessoryCommand(int turnout, const QString& srcpAddress);
  bool RefuseUnreachableLenzAddresses();
  bool SrcpSessionLost();
  bool SwitchPowerOn(CentralType central);
  void AbandonConnect();
  void SwitchPowerOff(CentralType central);
  void OnLongHandlersDone();
  int ModeOf(int firstButton) const;

  bool waitFlag_ = false;
  bool stepFlag_ = false;
  bool closingFlag_ = false;
  bool closeRequested_ = false;
  bool ctsSeenOn_ = false;
  int longHandlers_ = 0;
};
