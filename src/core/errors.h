// The one exception base of the program: a UTF-16 message that the default
// error box shows.
#pragma once

#include <exception>
#include <optional>
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

// One error box at a time. The box's own message loop keeps dispatching timer
// ticks, and a tick that fails again must not open a box on top of the open
// one: a repeat of the message on screen is dropped, and of the other
// messages the latest waits and is shown once the box has been closed.
class ErrorBoxGate {
 public:
  // True: show the message now and call Closed() when the box has gone.
  // False: a box is open; the message waits or is dropped.
  bool Offer(const Text& message);
  // The box on screen was closed: the message to show next, if any.
  std::optional<Text> Closed();
  bool BoxOpen() const { return shown_.has_value(); }

 private:
  std::optional<Text> shown_;
  std::optional<Text> waiting_;
};

}  // namespace velmora
