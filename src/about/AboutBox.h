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

  void OkClicked();
  // Shows a value of the command station's version reply. A screen reader hears it with its
  // caption ("SPU 1.502"), as a sighted user reads the row.
  void ShowValue(StationVersionField field, const QString& value);

  QFrame* framePanel;
  QPushButton* okButton;
  QLabel* programIcon;
  QLabel* productNameLabel;
  QLabel* versionLabel;
  QLabel* copyrightLabel;
  QLabel* commentsLabel;
  QLabel* spuCaption;
  QLabel* kpuCaption;
  QLabel* ppuCaption;
  QLabel* lipuCaption;
  QLabel* dncCaption;
  QLabel* serialCaption;
  // The values of the version reply, "?" until one has been decoded.
  QLabel* spuValue;
  QLabel* kpuValue;
  QLabel* ppuValue;
  QLabel* lipuValue;
  QLabel* dncValue;
  QLabel* serialValue;
};
