#pragma once

#include <gtest/gtest.h>

#include <exception>
#include <string>
#include <typeinfo>

#include "text/exception.h"

namespace qilo {

// For tests: passes when `statement()` throws exactly an E (not a class
// derived from it) with the message `message`; fails when it throws nothing,
// an exception of another class, or another message.
template <typename E, typename Statement>
::testing::AssertionResult ThrowsError(Statement&& statement,
                                       const std::string& message) {
  try {
    statement();
  } catch (const E& e) {
    if (typeid(e) != typeid(E)) {
      return ::testing::AssertionFailure()
             << "threw " << DescribeError(e) << ", of a derived class";
    }
    if (ErrorMessage(e) != message) {
      return ::testing::AssertionFailure()
             << "threw the message \"" << ErrorMessage(e) << "\", not \""
             << message << "\"";
    }
    return ::testing::AssertionSuccess();
  } catch (const std::exception& e) {
    return ::testing::AssertionFailure()
           << "threw " << DescribeError(e) << ", of another class";
  } catch (...) {
    return ::testing::AssertionFailure() << "threw a non-std::exception";
  }
  return ::testing::AssertionFailure() << "threw nothing";
}

}  // namespace qilo

// EXPECT_ERROR(TextToNumber("x"), EConvertError, "'x' is not ...");
#define EXPECT_ERROR(statement, Type, message) \
  EXPECT_TRUE(::qilo::ThrowsError<Type>([&] { statement; }, (message)))
