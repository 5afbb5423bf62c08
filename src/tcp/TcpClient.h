// A TCP client on Qt Network that reports through handlers on the thread that owns it: it looks
// the host up, connects, sends and receives text, and tells what becomes of the connection. An
// open completes later; a failure is handed to OnError with where it happened and its number
// (see SocketError.h), and raised unless the handler clears the number. A handler may close the
// client, open it again or delete it from inside its own report.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QHostAddress;
class QHostInfo;
class QTcpSocket;

// Where a failure happened, as OnError is told.
enum class SocketErrorStage {
  Lookup,      // no host or address to go to, or the host lookup failed
  Connect,     // the connect did not succeed
  Send,        // a send found the connection broken
  Disconnect,  // the connection broke while it was up
};

class TcpClient : public QObject {
 public:
  explicit TcpClient(QObject* parent = nullptr);
  ~TcpClient() override;

  // True from the connect until the connection ends.
  bool Active() const { return connected_; }
  // Unless active: starts looking up and connecting, and returns; what becomes of it is
  // reported later. Host, when not empty, is looked up and takes precedence over Address
  // (dotted IPv4). An attempt still under way, or one that failed, is dropped without a report.
  void Open();
  // Ends the connection, with a disconnect report; does nothing unless active, so an attempt
  // under way goes on.
  void Close();

  // The address cannot change while active ("Can't change value while socket is active");
  // setting the value it has never raises. Host names and addresses ignore letter case.
  int Port() const { return port_; }
  void SetPort(int value);
  const QString& Address() const { return address_; }
  void SetAddress(const QString& value);
  const QString& Host() const { return host_; }
  void SetHost(const QString& value);

  // Hands the bytes to the system at once and returns how many it took (all of them: what the
  // system cannot take yet goes out as soon as it can); 0 when not active, and nothing is sent.
  // A connection the send finds broken is reported and closed, and raises.
  int SendText(const QByteArray& text);
  // The bytes received and not read yet; empty when there are none.
  QByteArray ReceiveText();

  using Handler = std::function<void()>;
  // The handler may set the code to 0: the error is then not raised.
  using ErrorHandler = std::function<void(SocketErrorStage stage, int& code)>;

  // In the order an open goes through them: lookup, connecting, connect and write once it is
  // up, read whenever bytes arrive, disconnect at its end.
  Handler OnLookup;
  Handler OnConnecting;
  Handler OnConnect;
  Handler OnWrite;
  Handler OnRead;
  Handler OnDisconnect;
  ErrorHandler OnError;

 private:
  void StartOpen();
  // A socket whose reports reach this client, until it is released.
  QTcpSocket* NewSocket();
  void LookedUp(const QHostInfo& lookup, int port);
  void StartConnect(const QHostAddress& address, int port);
  void SocketConnected();
  void SocketFailed(int osError);
  // Ends the attempt or the connection in progress, with a disconnect report when there was one.
  void Disconnect();
  // Takes the socket away from this client: no report of it arrives any more, and bytes it still
  // holds for the peer go out before it closes.
  void ReleaseSocket();
  void CancelLookup();

  // Calls the handler if there is one; false when it let this client go.
  bool Report(const Handler& handler);
  bool ReportError(SocketErrorStage stage, int& code);

  void CheckInactive() const;
  void SetText(QString& field, const QString& value);

  int port_ = 0;
  QString address_;
  QString host_;

  QTcpSocket* socket_ = nullptr;
  bool connected_ = false;
  // The receiver of the pending lookup's answer: dropping it cancels the lookup, even one whose
  // answer is already on its way.
  std::unique_ptr<QObject> lookup_;
  int lookupId_ = -1;
};
