// What a link shows the user, without knowing the window: the window implements it with its
// log panes and version window, tests with recorders.
#pragma once

#include <QString>

// The command station's version values, shown in its "About" window.
enum class StationVersionField { SPU, KPU, PPU, LIPU, DNC, Serial };

class LinkObserver {
 public:
  virtual ~LinkObserver() = default;

  // A line of the connection log (connectionLog).
  virtual void LogConnection(const QString& line) = 0;
  // An entry of the receive log (receiveLog): a message or what a server sent.
  virtual void LogReceived(const QString& entry) = 0;
  // Replaces the receive log's whole text with a status text.
  virtual void ShowReceiveStatus(const QString& text) = 0;
  // An entry of the information log (infoLog): what a server's information session sent.
  virtual void LogInformation(const QString& entry) = 0;
  virtual void ShowVersionValue(StationVersionField field, const QString& value) = 0;
};
