// What the main window asks of the link to the chosen command station. There is one class per
// kind of command station; the window builds the one the user chose (window/LinkFactory) and owns
// it. A link owns all of its state: two links, even of one kind, never share anything.
//
// Every operation that waits (a reply, a pause) is a task: it suspends, and the window's other
// handlers run between its steps. The window may end a task where it waits (the user closed);
// the link must then still take the power-off. The window keeps a link alive while one of its
// tasks has not finished.
#pragma once

#include <QString>
#include <limits>

#include "link/AccessoryOutcome.h"
#include "platform/Task.h"

// One accessory command of the programming run: output on, a pause, output off.
struct AccessoryCommand {
  // Counted from 1, before any offset of the station; a server is sent this number, not the
  // field's text ("07" goes out as 7).
  int turnout = 0;
};

class CommandStationLink {
 public:
  virtual ~CommandStationLink() = default;

  // The user has just chosen this kind of command station: the link prepares its transport
  // (the port's settings, or the server's command session).
  virtual Task<void> Attach() = 0;
  // True when the user picks and sets up a serial port before connecting.
  virtual bool UsesSerialPort() const { return true; }
  // Connects and switches the track power on (interface detection, handshake). False when no
  // command station is usable; what went wrong has then been shown to the user. Errors of the
  // transport pass to the caller.
  virtual Task<bool> Connect() = 0;
  // Switches the track power off and ends the session; the window closes the port afterwards.
  virtual Task<void> SwitchPowerOff() = 0;

  // Asked before every run. A station that has reported the track without power since the
  // connect (a short while the next decoder was wired, its stop key) has it switched on again as
  // the connect does, and the run may start once the station has confirmed that: carried out,
  // with the station's words for the power off when there was one; refused or lost, saying why,
  // when the track stays off. Errors of the transport pass to the caller.
  virtual Task<AccessoryOutcome> PowerTrackForRun() { co_return AccessoryOutcome::CarriedOut(); }

  // A station that reports the track's power refuses the command, whatever it answers to it,
  // once the track has been reported off.
  virtual Task<AccessoryOutcome> SwitchAccessory(AccessoryCommand command) = 0;
  // What the last accessory command came to by the end of its step pause, given what
  // SwitchAccessory returned. Stations that answer in their own time (LocoNet, Lenz) may refuse
  // during the pause, or leave a confirmation they owe missing; the Märklin interface may not
  // have taken the bytes. A power off reported at any time in the step refuses it. Errors of the
  // transport pass to the caller.
  virtual Task<AccessoryOutcome> OutcomeAtStepEnd(AccessoryOutcome returned) { co_return returned; }

  // Bytes that arrived on the serial port (its receive event). Raises nothing.
  virtual void Received(const QByteArray& bytes) { (void)bytes; }
  // The port's CTS line changed (only ports that have the line report it).
  virtual void ClearToSendChanged(bool on) { (void)on; }
  // The command station is polled for its events every 100 ms while connected.
  virtual bool PollsEvents() const { return false; }
  virtual Task<void> PollEvents() { co_return; }

  // What the station's own turnout numbers add to the decoder's (the log shows those).
  virtual int TurnoutOffset() const { return 0; }
  // The highest turnout number the station can switch, offset included.
  virtual int HighestTurnout() const { return std::numeric_limits<int>::max(); }
};
