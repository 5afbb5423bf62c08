// Value types of the TCP client component: its enumerations and the handler types through which
// it reports to the program.
#pragma once

#include <QObject>
#include <functional>

class TCustomWinSocket;

// Blocking mode is not part of this component: the property is kept, the connection always
// works non-blocking with notifications.
enum TClientType { ctNonBlocking, ctBlocking };

enum TSocketEvent {
  seLookup,
  seConnecting,
  seConnect,
  seDisconnect,
  seListen,
  seAccept,
  seWrite,
  seRead
};

enum TErrorEvent { eeGeneral, eeSend, eeReceive, eeConnect, eeDisconnect, eeAccept, eeLookup };

// The notifications a connection can ask for; a set of them is a mask of (1 << style) bits.
enum TAsyncStyle { asRead, asWrite, asOOB, asAccept, asConnect, asClose };
using TAsyncStyles = unsigned;

constexpr TAsyncStyles AsyncStyleBit(TAsyncStyle style) {
  return 1u << style;
}

// Where an asynchronous open stands between the host lookup and the connect.
enum TLookupState { lsIdle, lsLookupAddress, lsLookupService };

using TSocketNotifyEvent = std::function<void(QObject* Sender, TCustomWinSocket* Socket)>;
using TSocketErrorEvent = std::function<void(QObject* Sender, TCustomWinSocket* Socket,
                                             TErrorEvent ErrorEvent, int& ErrorCode)>;

// How a connection object reports to the component that owns it.
using TSocketEventEvent = std::function<void(TCustomWinSocket* Socket, TSocketEvent SocketEvent)>;
using TSocketErrorEventEvent =
    std::function<void(TCustomWinSocket* Socket, TErrorEvent ErrorEvent, int& ErrorCode)>;
