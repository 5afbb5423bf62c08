// One accessory command of the programming run on the SRCP command session: a generic
// accessory's output switched on for 200 ms. A server that does not know the accessory yet
// answers "416 ERROR no data"; it is then initialised and the command sent again.
#pragma once

#include <QString>

void SendSrcpGA(const QString& bus, const QString& address, const QString& port,
                const QString& protocol);
