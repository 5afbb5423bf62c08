// A Märklin 6050/6051 interface on the master side of a pty. It takes the interface's single
// byte commands: go, stop, switching a turnout to green or red (with the turnout as a second
// byte) and switching the solenoids off. It answers nothing; the interface only reports its s88
// modules, which the program never asks for.
#pragma once

#include <QByteArray>
#include <mutex>
#include <vector>

#include "FrameSplitter.h"
#include "PtyPeer.h"
#include "StationLog.h"

class MaerklinSimulator : public PtyPeer {
 public:
  MaerklinSimulator();
  ~MaerklinSimulator() override;

  // The commands heard so far: one byte, or two for a turnout command.
  std::vector<QByteArray> CommandsHeard() const;
  StationLog& Log() { return log_; }

 protected:
  void OnReceived(const QByteArray& bytes) override;

 private:
  void Report(const QByteArray& command);

  mutable std::mutex mutex_;
  FrameSplitter splitter_;
  std::vector<QByteArray> commandsHeard_;
  StationLog log_;
};
