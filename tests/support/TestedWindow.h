// The real main window, its controls found by the names the window gives them (as an
// accessibility client finds them), for tests that drive it as a user does.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <array>
#include <stdexcept>

#include "about/AboutBox.h"
#include "platform/LogPane.h"
#include "serial/SerialPort.h"
#include "window/AddressSpinBox.h"
#include "window/DecoderListWindow.h"
#include "window/DecoderModel.h"
#include "window/LinkFactory.h"
#include "window/MainWindow.h"

class TestedWindow : public MainWindow {
 public:
  TestedWindow() {
    for (std::size_t i = 0; i < groupAModes.size(); ++i) {
      groupAModes[i] = Part<QRadioButton>(QStringLiteral("groupAMode%1").arg(i));
      groupBModes[i] = Part<QRadioButton>(QStringLiteral("groupBMode%1").arg(i));
    }
  }

  template <typename T>
  T* Part(const QString& name) const {
    T* found = findChild<T*>(name);
    if (!found) throw std::logic_error("the main window has no " + name.toStdString());
    return found;
  }

  QRadioButton* CentralButton(CentralType central) const {
    return Part<QRadioButton>(QStringLiteral("central_") + FactsOf(central).key);
  }
  // The list's window, made as its button makes it, but left as it was on the screen.
  DecoderListWindow& ListWindow() {
    if (auto* list = findChild<DecoderListWindow*>()) return *list;
    decoderListButton->click();
    auto* list = findChild<DecoderListWindow*>();
    list->hide();
    return *list;
  }
  // The connect has ended with the station connected: the programming panel takes clicks.
  bool Connected() const { return selectionPanel->isHidden() && programmingPanel->isEnabled(); }
  int ModeOfGroupA() const { return ModeOf(groupAModes); }
  int ModeOfGroupB() const { return ModeOf(groupBModes); }

  QGroupBox* selectionPanel = Part<QGroupBox>("selectionPanel");
  QPlainTextEdit* instructionsText = Part<QPlainTextEdit>("instructionsText");
  QPushButton* connectButton = Part<QPushButton>("connectButton");
  QLineEdit* SrcpServerEdit = Part<QLineEdit>("srcpServerEdit");
  QGroupBox* programmingPanel = Part<QGroupBox>("programmingPanel");
  AddressSpinBox* firstAddressEdit = Part<AddressSpinBox>("firstAddressEdit");
  QLabel* decoderNumberLabel = Part<QLabel>("decoderNumberLabel");
  AddressSpinBox* groupBAddressEdit = Part<AddressSpinBox>("groupBAddressEdit");
  std::array<QRadioButton*, 7> groupAModes{};
  std::array<QRadioButton*, 7> groupBModes{};
  QPushButton* programButton = Part<QPushButton>("programButton");
  QPushButton* nextDecoderButton = Part<QPushButton>("nextDecoderButton");
  QPushButton* closeButton = Part<QPushButton>("closeButton");
  QPushButton* stationAboutButton = Part<QPushButton>("stationAboutButton");
  QPushButton* decoderListButton = Part<QPushButton>("decoderListButton");
  LogPane* connectionLog = Part<LogPane>("connectionLog");
  LogPane* receiveLog = Part<LogPane>("receiveLog");
  LogPane* infoLog = Part<LogPane>("infoLog");
  QGroupBox* signalsPanel = Part<QGroupBox>("signalsPanel");
  AboutBox* aboutBox = Part<AboutBox>("aboutBox");
  SerialPort* serialPort = Part<SerialPort>("serialPort");
  QTimer* stepPauseTimer = Part<QTimer>("stepPauseTimer");
  QTimer* eventPollTimer = Part<QTimer>("eventPollTimer");
  QTimer* connectionWatchTimer = Part<QTimer>("connectionWatchTimer");

 private:
  static int ModeOf(const std::array<QRadioButton*, 7>& modes) {
    for (std::size_t i = 0; i < modes.size(); ++i)
      if (modes[i]->isChecked()) return DecoderModel::kModes[i].number;
    return DecoderModel::kModes[0].number;
  }
};
