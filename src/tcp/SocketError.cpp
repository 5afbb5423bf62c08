#include "tcp/SocketError.h"

#include <netdb.h>

#include <QHostInfo>
#include <cerrno>
#include <cstring>

static_assert(EWOULDBLOCK == EAGAIN, "one would-block number on this OS");

namespace {

constexpr int kWouldBlock = 10035;

// The number of an errno value.
int SocketErrorNumber(int osError) {
  switch (osError) {
    case EINTR:
      return 10004;
    case EBADF:
      return 10009;
    case EACCES:
    case EPERM:
      return 10013;
    case EFAULT:
      return 10014;
    case EINVAL:
      return 10022;
    case EMFILE:
    case ENFILE:
      return 10024;
    case EAGAIN:
    case EINPROGRESS:
      return kWouldBlock;
    case EALREADY:
      return 10037;
    case ENOTSOCK:
      return 10038;
    case EDESTADDRREQ:
      return 10039;
    case EMSGSIZE:
      return 10040;
    case EPROTOTYPE:
      return 10041;
    case ENOPROTOOPT:
      return 10042;
    case EPROTONOSUPPORT:
      return 10043;
    case ESOCKTNOSUPPORT:
      return 10044;
    case EOPNOTSUPP:
      return 10045;
    case EPFNOSUPPORT:
      return 10046;
    case EAFNOSUPPORT:
      return 10047;
    case EADDRINUSE:
      return 10048;
    case EADDRNOTAVAIL:
      return 10049;
    case ENETDOWN:
      return 10050;
    case ENETUNREACH:
      return 10051;
    case ENETRESET:
      return 10052;
    case ECONNABORTED:
      return 10053;
    case ECONNRESET:
    // A send after the peer has reset the connection fails with EPIPE once the reset has been
    // reported; for the user it is the same reset.
    case EPIPE:
      return 10054;
    case ENOBUFS:
    case ENOMEM:
      return 10055;
    case EISCONN:
      return 10056;
    case ENOTCONN:
      return 10057;
    case ESHUTDOWN:
      return 10058;
    case ETOOMANYREFS:
      return 10059;
    case ETIMEDOUT:
      return 10060;
    case ECONNREFUSED:
      return 10061;
    case ELOOP:
      return 10062;
    case ENAMETOOLONG:
      return 10063;
    case EHOSTDOWN:
      return 10064;
    case EHOSTUNREACH:
      return 10065;
    case ENOTEMPTY:
      return 10066;
    case EUSERS:
      return 10068;
    case EDQUOT:
      return 10069;
    case ESTALE:
      return 10070;
    case EREMOTE:
      return 10071;
    default:
      // Windows Sockets has no number for it; the OS's own number, with its text beside it,
      // still tells the user more than a made-up one.
      return osError;
  }
}

// errno's number when it names a socket failure, otherwise the one Qt's error stands for.
SocketError RefinedByErrno(int osError, int fallback, const QString& text) {
  const int code = osError != 0 ? SocketErrorNumber(osError) : 0;
  if (code >= 10000 && code != kWouldBlock) return SocketErrorFromErrno(osError);
  return {fallback, text};
}

}  // namespace

SocketError SocketErrorFromErrno(int osError) {
  return {SocketErrorNumber(osError), QString::fromLocal8Bit(std::strerror(osError))};
}

SocketError SocketErrorOf(QAbstractSocket::SocketError error, const QString& text, int osError) {
  switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
      return {10061, text};
    case QAbstractSocket::HostNotFoundError:
      return {11001, text};
    case QAbstractSocket::SocketTimeoutError:
      return {10060, text};
    case QAbstractSocket::SocketAccessError:
      return {10013, text};
    case QAbstractSocket::AddressInUseError:
      return {10048, text};
    case QAbstractSocket::SocketAddressNotAvailableError:
      return {10049, text};
    case QAbstractSocket::UnsupportedSocketOperationError:
      return {10045, text};
    case QAbstractSocket::RemoteHostClosedError:
      if (osError == ECONNRESET || osError == EPIPE) return SocketErrorFromErrno(osError);
      return {0, text};
    case QAbstractSocket::SocketResourceError:
      return RefinedByErrno(osError, 10055, text);
    default:
      return RefinedByErrno(osError, 10050, text);
  }
}

SocketError LookupErrorOf(const QHostInfo& lookup) {
  switch (lookup.error()) {
    case QHostInfo::NoError:
      return {11004, QString::fromLocal8Bit(::gai_strerror(EAI_NODATA))};
    case QHostInfo::HostNotFound:
      return {11001, lookup.errorString()};
    default:
      // Most often the resolver could not be reached: worth trying again later.
      return {11002, lookup.errorString()};
  }
}
