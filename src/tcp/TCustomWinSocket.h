// The connection object that does the work of a TCP client component: it looks the host up,
// connects, and sends and receives text over a QTcpSocket, one per open, reporting what becomes
// of it on the user-interface thread through OnSocketEvent and OnErrorEvent. A handler may close
// the connection, open it again or delete the component from inside its own report.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "tcp/SocketTypes.h"
#include "tcp/TcpClientError.h"

class QHostAddress;
class QHostInfo;
class QTcpSocket;

class TCustomWinSocket {
 public:
  TCustomWinSocket() = default;
  virtual ~TCustomWinSocket();
  TCustomWinSocket(const TCustomWinSocket&) = delete;
  TCustomWinSocket& operator=(const TCustomWinSocket&) = delete;

  bool Connected() const { return connected_; }

  // Starts looking up and connecting; the outcome is reported later. Host, when not empty, is
  // looked up and takes precedence over address (dotted IPv4). An attempt still under way, or
  // one that failed, is dropped without a report.
  void Open(const QString& host, const QString& address, int port);

  // Hands the bytes of text to the system at once; returns how many it took (all of them: what
  // the system cannot take yet goes out as soon as it can), 0 when not connected (nothing is
  // sent). A connection the send finds broken is reported and closed, and raises.
  int SendText(const QByteArray& text);
  // The bytes received and not read yet; empty when there are none.
  QByteArray ReceiveText();

  // Ends the attempt or the connection in progress, with a disconnect report when there was one.
  virtual void Disconnect();

  TSocketEventEvent OnSocketEvent;
  TSocketErrorEventEvent OnErrorEvent;

 protected:
  // The connection is made.
  virtual void Connect() = 0;

  void Event(TSocketEvent socketEvent);
  void Error(TErrorEvent errorEvent, int& errorCode);

  bool connected_ = false;

 private:
  void LookedUp(const QHostInfo& lookup);
  void StartConnect(const QHostAddress& address);
  void SocketConnected();
  void SocketFailed(int osError);
  // Takes the socket away from this connection: no report of it arrives any more, and bytes it
  // still holds for the peer go out before it closes.
  void ReleaseSocket();
  void CancelLookup();

  QTcpSocket* socket_ = nullptr;
  // The receiver of the pending lookup's answer: dropping it cancels the lookup.
  std::unique_ptr<QObject> lookup_;
  int lookupId_ = -1;
  int port_ = 0;  // for the connect that follows a host lookup
  // The receiver of the socket's signals: they go with this object. A handler may delete it.
  QObject reports_;
};
