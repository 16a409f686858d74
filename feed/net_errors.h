#pragma once

#include <cstdint>
#include <string>

#include "text/exception.h"

namespace qilo {

// Every failure of the HTTP client and its socket layer.
QILO_DECLARE_EXCEPTION(ENetException, Exception);

QILO_DECLARE_EXCEPTION(EUnsupportedScheme, ENetException);
QILO_DECLARE_EXCEPTION(EUnknownProtocol, ENetException);
QILO_DECLARE_EXCEPTION(ESocketLibraryError, ENetException);
QILO_DECLARE_EXCEPTION(ESocketStartupFailed, ENetException);
QILO_DECLARE_EXCEPTION(EInvalidSocket, ENetException);
QILO_DECLARE_EXCEPTION(ECouldNotBindSocket, ENetException);
QILO_DECLARE_EXCEPTION(EConnClosedGracefully, ENetException);
QILO_DECLARE_EXCEPTION(EMaxLineLengthExceeded, ENetException);
QILO_DECLARE_EXCEPTION(EReadTimeout, ENetException);

// A socket-layer error, carrying its Windows Sockets number. The message is
// "Socket Error # <number>", CR LF and SocketErrorText(number).
class ESocketError : public ENetException {
 public:
  explicit ESocketError(int error_number);
  int ErrorNumber() const { return error_number_; }
  const char* ClassName() const override { return "ESocketError"; }

 private:
  int error_number_;
};

// A response whose status is not a success (redirects included). The message
// is the status line as received; the error text is the response body.
class EHttpProtocolException : public ENetException {
 public:
  EHttpProtocolException(std::string status_line, int32_t error_code,
                         std::string error_text)
      : ENetException(std::move(status_line)),
        error_code_(error_code),
        error_text_(std::move(error_text)) {}
  int32_t ErrorCode() const { return error_code_; }
  const std::string& ErrorText() const { return error_text_; }
  const char* ClassName() const override { return "EHttpProtocolException"; }

 private:
  int32_t error_code_;
  std::string error_text_;
};

}  // namespace qilo
