// The properties every socket component has: whether it is active, and where it connects to.
// The address properties cannot change while the component is active.
#pragma once

#include <QObject>
#include <QString>

class TAbstractSocket : public QObject {
 public:
  explicit TAbstractSocket(QObject* owner = nullptr) : QObject(owner) {}

  bool Active() const { return active_; }
  // True opens unless already active; false closes unless already inactive. An open completes
  // later: Active turns true only when the connection is made.
  void SetActive(bool value);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }

  int Port() const { return port_; }
  void SetPort(int value);
  const QString& Address() const { return address_; }
  void SetAddress(const QString& value);
  const QString& Host() const { return host_; }
  void SetHost(const QString& value);
  // A service name is kept but never looked up: the connection goes to Port.
  const QString& Service() const { return service_; }
  void SetService(const QString& value);

 protected:
  virtual void DoActivate(bool value) = 0;
  // Raises "Can't change value while socket is active" while active.
  void CheckInactive() const;

  bool active_ = false;

 private:
  void SetText(QString& field, const QString& value);

  int port_ = 0;
  QString address_;
  QString host_;
  QString service_;
};
