#include "feed/net_errors.h"

#include "os/socket.h"

namespace qilo {

ESocketError::ESocketError(int error_number)
    : ENetException("Socket Error # " + std::to_string(error_number) + "\r\n" +
                    SocketErrorText(error_number)),
      error_number_(error_number) {}

}  // namespace qilo
