// The "About IB/TC" window: the program's name and the firmware versions and serial number of
// the connected Intellibox or Twin-Center. One instance lives for the whole run; it is shown
// without being modal and only hidden again, so its values survive.
#pragma once

#include <QDialog>

#include "link/LinkObserver.h"

class QFrame;
class QLabel;
class QPushButton;

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent = nullptr);

  void OKButtonClick();
  // Shows a value of the command station's version reply. A screen reader hears it with its
  // caption ("SPU 1.502"), as a sighted user reads the row.
  void ShowValue(StationVersionField field, const QString& value);

  QFrame* Panel1;
  QPushButton* OKButton;
  QLabel* ProgramIcon;
  QLabel* ProductName;
  QLabel* Version;
  QLabel* Copyright;
  QLabel* Comments;
  QLabel* StaticText1;
  QLabel* StaticText2;
  QLabel* StaticText3;
  QLabel* StaticText4;
  QLabel* StaticText5;
  QLabel* StaticText6;
  // The values of the version reply, "?" until one has been decoded.
  QLabel* SPU;
  QLabel* KPU;
  QLabel* PPU;
  QLabel* LIPU;
  QLabel* DNC;
  QLabel* Serial;
};
