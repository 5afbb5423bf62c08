#include "SrcpInfoListener.h"

#include <QHostAddress>
#include <QList>

namespace {

// A server line is a handful of words; a longer run without a line end is not one.
constexpr qsizetype kLongestLine = 4096;
constexpr int kPowerBus = 1;

}  // namespace

SrcpInfoListener::SrcpInfoListener(int port, QObject* parent) : QObject(parent), port_(port) {
  connect(&socket_, &QTcpSocket::connected, this, [this] {
    socket_.write(
        "SET PROTOCOL SRCP 0.8.2\n"
        "SET CONNECTIONMODE SRCP INFO\n"
        "GO\n");
  });
  connect(&socket_, &QTcpSocket::readyRead, this, &SrcpInfoListener::ReadLines);
  connect(&socket_, &QTcpSocket::disconnected, this, [this] {
    inSession_ = false;
    log_.ReportOther(QStringLiteral("the SRCP server ended the information session"));
  });
  connect(&socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
    if (error != QAbstractSocket::RemoteHostClosedError)
      log_.ReportOther(QStringLiteral("SRCP information session: %1").arg(socket_.errorString()));
  });
}

void SrcpInfoListener::Start() {
  socket_.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
}

void SrcpInfoListener::ReadLines() {
  while (socket_.canReadLine()) Interpret(socket_.readLine().trimmed());
  if (socket_.bytesAvailable() > kLongestLine) socket_.read(socket_.bytesAvailable());
}

// Lines are "time code INFO bus group …"; the greeting before them has no code.
void SrcpInfoListener::Interpret(const QByteArray& line) {
  const QList<QByteArray> words = line.simplified().split(' ');
  if (words.size() < 3) return;
  const QByteArray& code = words[1];
  if (code == "200" && words[2] == "OK" && words.value(3) == "GO") {
    inSession_ = true;
    return;
  }
  if (code.startsWith('4')) {
    log_.ReportOther(QStringLiteral("SRCP server: %1").arg(QString::fromLatin1(line)));
    return;
  }
  if ((code != "100" && code != "101") || words.size() < 6 || words[2] != "INFO") return;
  const int bus = words[3].toInt();
  const QByteArray& group = words[4];
  if (group == "POWER" && code == "100") {
    const bool on = words[5] == "ON";
    if (bus == kPowerBus)
      log_.ReportPower(on, QStringLiteral("(SRCP bus %1)").arg(bus));
    else
      log_.ReportOther(QStringLiteral("SRCP bus %1 power %2").arg(bus).arg(on ? "on" : "off"));
  } else if (group == "GA" && code == "100" && words.size() >= 8) {
    log_.ReportTurnout(words[5].toInt(), words[7] == "1",
                       QStringLiteral("(GA %1 port %2)")
                           .arg(QString::fromLatin1(words[5]))
                           .arg(QString::fromLatin1(words[6])));
  } else if (group == "GA" && code == "101" && words.size() >= 7) {
    log_.ReportOther(QStringLiteral("accessory %1 initialised (protocol %2)")
                         .arg(QString::fromLatin1(words[5]))
                         .arg(QString::fromLatin1(words[6])));
  }
}
