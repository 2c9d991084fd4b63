// The one exception base of the program: a UTF-16 message that the default
// error box shows.
#pragma once

#include <cstddef>
#include <deque>
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

// What the error box says for a failure that brings no message of ours: the
// user reads Japanese, not a library's English.
inline constexpr char16_t kOutOfMemoryText[] = u"メモリが不足しています。";
inline constexpr char16_t kUnexpectedErrorText[] = u"予期しないエラーが発生しました。";

// The message of a caught exception: ours as it stands, any other in
// Japanese.
Text ErrorMessageOf(std::exception_ptr error);

// One error box at a time. The box's own message loop keeps dispatching timer
// ticks, and a tick that fails again must not open a box on top of the open
// one: a message that is on screen or already waiting is dropped, any other
// waits its turn and is shown, in order, once the boxes before it have been
// closed. The waiting line is short: a burst of failures cannot queue more
// boxes than a user would click through.
class ErrorBoxGate {
 public:
  static constexpr std::size_t kMaxWaiting = 8;

  // True: show the message now and call Closed() when the box has gone.
  // False: a box is open; the message waits or is dropped.
  bool Offer(const Text& message);
  // The box on screen was closed: the message to show next, if any.
  std::optional<Text> Closed();
  bool BoxOpen() const { return shown_.has_value(); }

 private:
  std::optional<Text> shown_;
  std::deque<Text> waiting_;
};

}  // namespace velmora
