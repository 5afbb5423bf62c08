// The lines this program sends to an SRCP 0.8 server, each with its CR LF.
#pragma once

#include <QByteArray>
#include <QString>

namespace SrcpLine {

inline constexpr char SetProtocol[] = "SET PROTOCOL SRCP 0.8.2\r\n";
inline constexpr char InfoMode[] = "SET CONNECTIONMODE SRCP INFO\r\n";
inline constexpr char CommandMode[] = "SET CONNECTIONMODE SRCP COMMAND\r\n";
inline constexpr char Go[] = "GO\r\n";
inline constexpr char InitPower[] = "INIT 1 POWER\r\n";
inline constexpr char InitFeedback[] = "INIT 8 FB S88 LPT1 3\r\n";
inline constexpr char PowerOn[] = "SET 1 POWER ON\r\n";
inline constexpr char PowerOff[] = "SET 1 POWER OFF\r\n";
inline constexpr char TermSession[] = "TERM 0 SESSION\r\n";

// Switches a generic accessory's output on; the server switches it off again after 200 ms.
QByteArray SetGA(const QString& bus, const QString& address, const QString& port);
QByteArray InitGA(const QString& bus, const QString& address, const QString& protocol);
// For servers with a power switch per bus.
QByteArray SetBusPower(const QString& bus, bool on);

}  // namespace SrcpLine
