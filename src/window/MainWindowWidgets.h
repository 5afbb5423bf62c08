// The main window's controls, as MainWindow builds and places them. The parts that work the
// window (the decoder form, the station choice, the connection, the run) are lent the controls
// they show their state in; nothing outside the window's folder sees them. Each carries its
// member's name as its object name, for the accessibility tree's tools and for tests.
#pragma once

#include <QButtonGroup>
#include <QRadioButton>
#include <array>

#include "window/CentralType.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QWidget;
class AboutBox;
class LineLed;
class LogPane;
class AddressSpinBox;

// stationAboutButton's designed place lies outside the programming panel; it goes beside a
// narrowed programButton instead, so the user can reach it.
constexpr int kProgramButtonWidth = 353;
constexpr int kProgramButtonWidthBesideAbout = 248;

struct MainWindowWidgets {
  // Holds the hand-placed panels, and scrolls them on a screen smaller than the window.
  QScrollArea* canvasScroller = nullptr;

  QGroupBox* selectionPanel = nullptr;
  QPlainTextEdit* instructionsText = nullptr;
  // One radio button per central type, its id the type; in the order of LinkFactory's table.
  QButtonGroup* centralButtons = nullptr;
  QPushButton* connectButton = nullptr;
  // Shown while the chosen command station is a server: its address, "host[:port]".
  QLabel* srcpServerLabel = nullptr;
  QLineEdit* srcpServerEdit = nullptr;

  QGroupBox* programmingPanel = nullptr;
  AddressSpinBox* firstAddressEdit = nullptr;
  QLabel* decoderNumberLabel = nullptr;
  AddressSpinBox* groupBAddressEdit = nullptr;
  QGroupBox* groupABox = nullptr;
  QGroupBox* groupBBox = nullptr;
  // The mode buttons of each group, in the order of DecoderModel::kModes.
  std::array<QRadioButton*, 7> groupAModes{};
  std::array<QRadioButton*, 7> groupBModes{};
  QPushButton* programButton = nullptr;
  // Offered beside closeButton once a run has ended: the next decoder on the same connection.
  QPushButton* nextDecoderButton = nullptr;
  QPushButton* closeButton = nullptr;
  QPushButton* stationAboutButton = nullptr;
  QPushButton* decoderListButton = nullptr;

  LogPane* connectionLog = nullptr;
  LogPane* receiveLog = nullptr;
  LogPane* infoLog = nullptr;

  QGroupBox* signalsPanel = nullptr;
  LineLed* connectionLed = nullptr;
  LineLed* receiveLed = nullptr;
  LineLed* ctsLed = nullptr;
  QLabel* copyrightLabel = nullptr;
  QPushButton* versionButton = nullptr;
  // The window's language, overriding the desktop's from the next start.
  QComboBox* languageBox = nullptr;

  // The version window of the command station, shown by stationAboutButton.
  AboutBox* aboutBox = nullptr;

  QRadioButton* CentralButton(CentralType central) const {
    return static_cast<QRadioButton*>(centralButtons->button(static_cast<int>(central)));
  }
};
