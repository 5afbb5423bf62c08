// A listener on a port: eleven callback slots, each may be empty. The port calls the links in
// registration order.
#pragma once

#include <QObject>
#include <functional>

class SerialPortListener {
 public:
  std::function<void(QObject* Sender, bool OnOff)> OnConn;
  std::function<void(QObject* Sender, const char* Buffer, int Count)> OnRxBuf;
  std::function<void(QObject* Sender, const char* Buffer, int Count)> OnTxBuf;
  std::function<void(QObject* Sender)> OnTxEmpty;
  std::function<void(QObject* Sender)> OnRxFlag;
  std::function<void(QObject* Sender, bool OnOff)> OnCTSChange;
  std::function<void(QObject* Sender, bool OnOff)> OnDSRChange;
  std::function<void(QObject* Sender, bool OnOff)> OnRLSDChange;
  std::function<void(QObject* Sender)> OnRing;
  std::function<void(QObject* Sender, bool OnOff)> OnTx;
  std::function<void(QObject* Sender, bool OnOff)> OnRx;

  void ClearSlots() { *this = SerialPortListener(); }
};
