#include "core/errors.h"

#include <utility>

namespace velmora {

Text ErrorBoxText(const Text& message) {
  if (!message.empty() && message.back() > u'.') return message + u'.';
  return message;
}

bool ErrorBoxGate::Offer(const Text& message) {
  if (!shown_) {
    shown_ = message;
    return true;
  }
  if (message != *shown_) waiting_ = message;
  return false;
}

std::optional<Text> ErrorBoxGate::Closed() {
  shown_ = std::exchange(waiting_, std::nullopt);
  return shown_;
}

}  // namespace velmora
