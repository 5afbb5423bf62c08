#include "ScktComp/WinSockErrors.h"

#include <netdb.h>

#include <cerrno>
#include <cstring>

static_assert(EWOULDBLOCK == EAGAIN, "one would-block number on this OS");

int WinSockErrorCode(int osError) {
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
      return WSAEWOULDBLOCK;
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

SocketError SocketErrorFromErrno(int osError) {
  return {WinSockErrorCode(osError), QString::fromLocal8Bit(std::strerror(osError))};
}

namespace {

int LookupErrorCode(int lookupError) {
  switch (lookupError) {
    case EAI_NONAME:
      return 11001;
    case EAI_AGAIN:
      return 11002;
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
      return 11004;
    case EAI_MEMORY:
      return 10055;
    case EAI_FAMILY:
      return 10047;
    case EAI_SOCKTYPE:
      return 10044;
    case EAI_SERVICE:
      return 10109;
    case EAI_BADFLAGS:
      return 10022;
    default:
      return 11003;  // the resolver failed for good
  }
}

}  // namespace

SocketError SocketErrorFromLookup(int lookupError, int osError) {
  if (lookupError == EAI_SYSTEM) return SocketErrorFromErrno(osError);
  return {LookupErrorCode(lookupError), QString::fromLocal8Bit(::gai_strerror(lookupError))};
}
