#include "core/errors.h"

#include <algorithm>
#include <new>
#include <utility>

namespace velmora {

Text ErrorBoxText(const Text& message) {
  if (!message.empty() && message.back() > u'.') return message + u'.';
  return message;
}

Text ErrorMessageOf(std::exception_ptr error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::bad_alloc&) {
    return kOutOfMemoryText;
  } catch (...) {
  }
  return kUnexpectedErrorText;
}

bool ErrorBoxGate::Offer(const Text& message) {
  if (!shown_) {
    shown_ = message;
    return true;
  }
  if (message == *shown_ || std::find(waiting_.begin(), waiting_.end(), message) != waiting_.end()) return false;
  if (waiting_.size() < kMaxWaiting) waiting_.push_back(message);
  return false;
}

std::optional<Text> ErrorBoxGate::Closed() {
  shown_.reset();
  if (!waiting_.empty()) {
    shown_ = std::move(waiting_.front());
    waiting_.pop_front();
  }
  return shown_;
}

}  // namespace velmora
