// The one exception base of the program: a UTF-16 message that the default
// error box shows.
#pragma once

#include <exception>
#include <string>

#include "core/text.h"

namespace velmora {

class Exception : public std::exception {
 public:
  explicit Exception(Text message) : message_(std::move(message)), utf8_(ToUtf8(message_)) {}
  const Text& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  Text message_;
  std::string utf8_;
};

// The text the default error box shows: a '.' is appended when the last
// character's code is greater than that of '.'.
Text ErrorBoxText(const Text& message);

}  // namespace velmora
