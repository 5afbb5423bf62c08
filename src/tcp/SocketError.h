// The TCP client reports failures with the Windows Sockets numbers (10061 for a refused
// connection, 11001 for an unknown host, ...), so that a number means the same to every user
// whatever the OS said; the text beside it is the OS's or the toolkit's description of what went
// wrong. The translation from errno, from Qt's socket errors and from a failed host lookup
// happens here and nowhere else.
#pragma once

#include <QAbstractSocket>
#include <QString>

class QHostInfo;

// A failed socket operation as the user sees it.
struct SocketError {
  int code = 0;  // the number the user reads; 0 means no error
  QString text;  // the OS's own description
};

SocketError SocketErrorFromErrno(int osError);

// What a Qt socket reported through errorOccurred (error, with errorString() as text). osError is
// errno as it stood then: Qt folds the reasons of an unreachable or broken connection into one
// error, and reads a reset as the end of the stream; the OS's number tells them apart. Code 0
// for a peer that closed the connection in order: that is no error.
SocketError SocketErrorOf(QAbstractSocket::SocketError error, const QString& text, int osError);

// A host lookup that failed, or that found no IPv4 address (11004, a name without one).
SocketError LookupErrorOf(const QHostInfo& lookup);
