#include "core/errors.h"

namespace velmora {

Text ErrorBoxText(const Text& message) {
  if (!message.empty() && message.back() > u'.') return message + u'.';
  return message;
}

}  // namespace velmora
