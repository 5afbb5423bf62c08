// Follows an SRCP server from an information session of its own, as any SRCP monitor does, and
// reports the power and accessory changes the server announces. That is what reached the track:
// a SET that the server refused announces nothing.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QTcpSocket>

#include "StationLog.h"

class SrcpInfoListener : public QObject {
 public:
  // Listens to the server on port of the loopback interface once Start() has been called.
  explicit SrcpInfoListener(int port, QObject* parent = nullptr);

  void Start();
  // The server has started the information session (its answer to GO has arrived).
  bool InSession() const { return inSession_; }
  StationLog& Log() { return log_; }

 private:
  void ReadLines();
  void Interpret(const QByteArray& line);

  int port_;
  // Before the socket: its handlers use them while it closes during destruction.
  bool inSession_ = false;
  StationLog log_;
  QTcpSocket socket_;
};
