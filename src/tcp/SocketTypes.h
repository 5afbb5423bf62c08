// Value types of the TCP client component: its enumerations and the handler types through which
// it reports to the program.
#pragma once

#include <QObject>
#include <functional>

class TCustomWinSocket;

// What a connection reports to its component, in the order an open goes through them.
enum TSocketEvent { seLookup, seConnecting, seConnect, seDisconnect, seWrite, seRead };

// Where a failure happened, as the error handler is told.
enum TErrorEvent { eeGeneral, eeSend, eeReceive, eeConnect, eeDisconnect, eeAccept, eeLookup };

using TSocketNotifyEvent = std::function<void(QObject* Sender, TCustomWinSocket* Socket)>;
using TSocketErrorEvent = std::function<void(QObject* Sender, TCustomWinSocket* Socket,
                                             TErrorEvent ErrorEvent, int& ErrorCode)>;

// How a connection object reports to the component that owns it.
using TSocketEventEvent = std::function<void(TCustomWinSocket* Socket, TSocketEvent SocketEvent)>;
using TSocketErrorEventEvent =
    std::function<void(TCustomWinSocket* Socket, TErrorEvent ErrorEvent, int& ErrorCode)>;
