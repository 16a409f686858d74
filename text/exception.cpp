#include "text/exception.h"

namespace qilo {

std::string ErrorMessage(const std::exception& error) {
  if (const auto* own = dynamic_cast<const Exception*>(&error))
    return own->Message();
  return error.what();
}

std::string DescribeError(const std::exception& error) {
  const auto* own = dynamic_cast<const Exception*>(&error);
  return std::string(own != nullptr ? own->ClassName() : "Exception") + ": " +
         ErrorMessage(error);
}

}  // namespace qilo
