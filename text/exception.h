#pragma once

#include <stdexcept>
#include <string>

namespace qilo {

// The root of every error the program raises; the message is GBK text as the
// user will see it. Derived classes only give the error its kind.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }
  // The class name as the program reports it ("EConvertError" …).
  virtual const char* ClassName() const { return "Exception"; }

 private:
  std::string message_;
};

// The message of any exception: Message() of an Exception (all its bytes),
// what() of another.
std::string ErrorMessage(const std::exception& error);

// "<ClassName>: <message>", the way errors are reported outside a message box;
// "Exception" stands for the class of an exception not derived from Exception.
std::string DescribeError(const std::exception& error);

#define QILO_DECLARE_EXCEPTION(Name, Base)                   \
  class Name : public Base {                                 \
   public:                                                   \
    using Base::Base;                                        \
    const char* ClassName() const override { return #Name; } \
  }

}  // namespace qilo
