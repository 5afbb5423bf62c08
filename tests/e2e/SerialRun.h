// The real main window with a serial central type chosen and its port set to a simulated
// command station's pty, as every end-to-end run of a serial station starts.
#pragma once

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "LenzSimulator.h"
#include "LocoNetSimulator.h"
#include "MaerklinSimulator.h"
#include "ReportingP50XSimulator.h"
#include "platform/LogPane.h"
#include "serial/SerialPort.h"
#include "support/ExpectLearnt.h"
#include "support/RecordingNotifier.h"
#include "support/WaitFor.h"
#include "support/WindowDriver.h"
#include "window/AddressSpinBox.h"

inline QByteArray Hex(const char* spacedHex) {
  return QByteArray::fromHex(spacedHex);
}

// How each station is chosen, how it shows that the connect reached it, how it says no to a
// turnout command and takes them again, and for the stations that confirm each frame, how many
// accessory frames reached them and what the box says when the second step's first confirmation
// does not come (decoder address 1: the second step switches turnout 2).
template <class Station>
struct StationTraits;
template <>
struct StationTraits<LocoNetSimulator> {
  static constexpr CentralType kCentral = CentralType::LocoNet;
  static bool Connected(TestedWindow& window, LocoNetSimulator&) {
    return window.receiveLog->Lines().contains("837C");  // its echo of the power-on
  }
  static void Refuse(LocoNetSimulator& station) { station.RefuseSwitchRequests(true); }
  static void Accept(LocoNetSimulator& station) { station.RefuseSwitchRequests(false); }
  static std::size_t AccessoryFramesHeard(const LocoNetSimulator& station) {
    return std::ranges::count_if(station.MessagesHeard(),
                                 [](const QByteArray& message) { return message[0] == '\xB0'; });
  }
  static constexpr const char* kStep2Missing =
      "LocoNet gaf de opdracht niet terug. Melding: no echo of B0 01 30 7E";
};
template <>
struct StationTraits<ReportingP50XSimulator> {
  static constexpr CentralType kCentral = CentralType::P50X;
  static bool Connected(TestedWindow&, ReportingP50XSimulator& station) {
    return station.EventQueries() >= 2;  // the event poll runs
  }
  static void Refuse(ReportingP50XSimulator& station) {
    station.SetReply(0x90, QByteArray(1, '\xA6'));  // track power is off
  }
  static void Accept(ReportingP50XSimulator& station) {
    station.SetReply(0x90, QByteArray(1, '\x00'));
  }
};
template <>
struct StationTraits<LenzSimulator> {
  static constexpr CentralType kCentral = CentralType::Lenz;
  static bool Connected(TestedWindow& window, LenzSimulator&) {
    return window.receiveLog->Lines().contains("61 01 60 ");  // its answer to "resume operations"
  }
  static void Refuse(LenzSimulator& station) {
    station.RefuseAccessoryOperations(QByteArray::fromHex("010203"));
  }
  static void Accept(LenzSimulator& station) { station.RefuseAccessoryOperations({}); }
  static std::size_t AccessoryFramesHeard(const LenzSimulator& station) {
    return std::ranges::count_if(station.FramesHeard(),
                                 [](const QByteArray& frame) { return frame[0] == '\x52'; });
  }
  static constexpr const char* kStep2Missing =
      "De interface gaf geen bevestiging (01 04 05). Melding: no answer 01 04 05 to 52 01 8A D9";
};
template <>
struct StationTraits<MaerklinSimulator> {
  static constexpr CentralType kCentral = CentralType::Maerklin;
  static bool Connected(TestedWindow&, MaerklinSimulator& station) {
    return station.ReceivedCount() >= 1;  // the go byte; the interface never answers
  }
};

template <class Station>
class SerialRun : public testing::Test {
 protected:
  SerialRun() {
    driver.Choose(window.CentralButton(StationTraits<Station>::kCentral));
    window.serialPort->SetPort(station.SlavePath());
  }
  ~SerialRun() override {
    window.close();
    WaitFor([&] { return !window.isVisible(); }, 10000);
  }

  void Connect() {
    driver.Click(window.connectButton);
    ASSERT_TRUE(WaitFor([&] { return window.Connected(); }, 10000));
    ASSERT_FALSE(window.selectionPanel->isVisible());
    ASSERT_TRUE(WaitFor([&] { return StationTraits<Station>::Connected(window, station); }));
    // The keyboard goes on where the user does: at the decoder's address, not in a log pane.
    QWidget* focused = window.focusWidget();
    EXPECT_TRUE(focused == static_cast<QWidget*>(window.firstAddressEdit) ||
                window.firstAddressEdit->isAncestorOf(focused));
  }

  // "Programmeer Kuehn WD10", returning once the run has ended and "Sluiten" shows.
  void Program() {
    driver.Click(window.programButton);
    ASSERT_TRUE(WaitFor([&] { return window.closeButton->isVisible(); }, 10000));
  }
  // "Sluiten", returning once the window has gone.
  void CloseWithTheButton() {
    driver.Click(window.closeButton);
    ASSERT_TRUE(WaitFor([&] { return !window.isVisible(); }));
  }

  Station station;
  TestedWindow window;
  WindowDriver driver{window};
};
