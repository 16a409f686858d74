#include "text/exception.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include "text/expect_error.h"

namespace qilo {
namespace {

QILO_DECLARE_EXCEPTION(ETestFailure, Exception);
QILO_DECLARE_EXCEPTION(ETestDerived, ETestFailure);

TEST(DescribeErrorTest, ClassAndMessage) {
  const struct {
    std::shared_ptr<std::exception> error;
    const char* message;
    const char* described;
  } kCases[] = {
      {std::make_shared<Exception>("plain"), "plain", "Exception: plain"},
      {std::make_shared<ETestFailure>("Bad file number."), "Bad file number.",
       "ETestFailure: Bad file number."},
      // The most derived class names the error, seen through any base.
      {std::make_shared<ETestDerived>("x"), "x", "ETestDerived: x"},
      {std::make_shared<ETestFailure>(""), "", "ETestFailure: "},
      {std::make_shared<std::runtime_error>("boom"), "boom", "Exception: boom"},
      {std::make_shared<std::bad_alloc>(), "std::bad_alloc",
       "Exception: std::bad_alloc"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.described);
    EXPECT_EQ(ErrorMessage(*c.error), c.message);
    EXPECT_EQ(DescribeError(*c.error), c.described);
  }
}

TEST(DescribeErrorTest, KeepsEveryByteOfTheMessage) {
  // what() would stop at the zero byte; the message box shows all of it.
  const std::string message("a\0b\xB9\xC9", 5);
  const ETestFailure error(message);
  EXPECT_EQ(ErrorMessage(error), message);
  EXPECT_EQ(DescribeError(error), "ETestFailure: " + message);
}

// The test helper itself: each way of not throwing as expected fails.
TEST(ThrowsErrorTest, FailsUnlessTheClassAndMessageMatch) {
  EXPECT_TRUE(ThrowsError<ETestFailure>([] { throw ETestFailure("m"); }, "m"));
  const struct {
    const char* name;
    void (*statement)();
    const char* why;
  } kFailures[] = {
      {"nothing", [] {}, "threw nothing"},
      {"other message", [] { throw ETestFailure("n"); }, "the message \"n\""},
      {"derived class", [] { throw ETestDerived("m"); }, "derived class"},
      {"base class", [] { throw Exception("m"); }, "another class"},
      {"std exception", [] { throw std::runtime_error("m"); }, "another class"},
      {"no std exception", [] { throw 7; }, "non-std::exception"},
  };
  for (const auto& c : kFailures) {
    SCOPED_TRACE(c.name);
    const ::testing::AssertionResult result =
        ThrowsError<ETestFailure>(c.statement, "m");
    EXPECT_FALSE(result);
    EXPECT_NE(std::string(result.message()).find(c.why), std::string::npos)
        << result.message();
  }
}

}  // namespace
}  // namespace qilo
