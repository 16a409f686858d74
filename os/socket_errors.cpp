#include <cerrno>

#include "os/socket.h"

namespace qilo {
namespace {

// One Windows Sockets error: the POSIX errno values that report it (0 for
// none) and its text.
struct SocketErrorRow {
  int errnos[2];
  int number;
  const char* text;
};

constexpr SocketErrorRow kSocketErrors[] = {
    {{EINTR}, 10004, "Interrupted system call."},
    {{EBADF}, 10009, "Bad file number."},
    {{EACCES}, 10013, "Access denied."},
    {{EFAULT}, 10014, "Bad address."},
    {{EINVAL}, 10022, "Invalid argument."},
    {{EMFILE, ENFILE}, 10024, "Too many open files."},
    {{EWOULDBLOCK}, kSocketWouldBlock, "Operation would block. "},
    {{EINPROGRESS}, 10036, "Operation now in progress."},
    {{EALREADY}, 10037, "Operation already in progress."},
    {{ENOTSOCK}, 10038, "Socket operation on non-socket."},
    {{EDESTADDRREQ}, 10039, "Destination address required."},
    {{EMSGSIZE}, 10040, "Message too long."},
    {{EPROTOTYPE}, 10041, "Protocol wrong type for socket."},
    {{ENOPROTOOPT}, 10042, "Bad protocol option."},
    {{EPROTONOSUPPORT}, 10043, "Protocol not supported."},
    {{ESOCKTNOSUPPORT}, 10044, "Socket type not supported."},
    {{EOPNOTSUPP}, 10045, "Operation not supported on socket."},
    {{EPFNOSUPPORT}, 10046, "Protocol family not supported."},
    {{EAFNOSUPPORT}, 10047, "Address family not supported by protocol family."},
    {{EADDRINUSE}, kSocketAddressInUse, "Address already in use."},
    {{EADDRNOTAVAIL},
     kSocketAddressNotAvailable,
     "Cannot assign requested address."},
    {{ENETDOWN}, 10050, "Network is down."},
    {{ENETUNREACH}, 10051, "Network is unreachable."},
    {{ENETRESET}, 10052, "Net dropped connection or reset."},
    {{ECONNABORTED},
     kSocketConnectionAborted,
     "Software caused connection abort."},
    // A send to a peer that is gone reads as a reset, as Windows reports it.
    {{ECONNRESET, EPIPE}, kSocketConnectionReset, "Connection reset by peer."},
    {{ENOBUFS, ENOMEM}, 10055, "No buffer space available."},
    {{EISCONN}, 10056, "Socket is already connected."},
    {{ENOTCONN}, 10057, "Socket is not connected."},
    {{ESHUTDOWN},
     kSocketShutDown,
     "Cannot send or receive after socket is closed."},
    {{ETOOMANYREFS}, 10059, "Too many references, cannot splice."},
    {{ETIMEDOUT}, kSocketTimedOut, "Connection timed out."},
    {{ECONNREFUSED}, kSocketConnectionRefused, "Connection refused."},
    {{ELOOP}, 10062, "Too many levels of symbolic links."},
    {{ENAMETOOLONG}, 10063, "File name too long."},
    {{EHOSTDOWN}, 10064, "Host is down."},
    {{EHOSTUNREACH}, 10065, "No route to host."},
    {{ENOTEMPTY}, 10066, "Directory not empty"},
    {{}, kSocketHostNotFound, "Host not found."},
};

}  // namespace

int SocketErrorFromErrno(int err) {
  if (err == 0) return 0;
  for (const SocketErrorRow& row : kSocketErrors) {
    for (int e : row.errnos) {
      if (e == err) return row.number;
    }
  }
  return err;
}

const char* SocketErrorText(int error_number) {
  for (const SocketErrorRow& row : kSocketErrors) {
    if (row.number == error_number) return row.text;
  }
  return "";
}

}  // namespace qilo
