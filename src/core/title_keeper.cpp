#include "core/title_keeper.h"

#include <utility>

#include "core/decoration_cycle.h"
#include "core/title_tag.h"

namespace velmora {

namespace {
// A program that copied its decorated title puts it up within a tick or
// two; a few more cover one that caches it for a while.
constexpr size_t kEarlierTags = 8;

const Text* NewestIn(const Text& title, const std::vector<Text>& tags) {
  for (auto it = tags.rbegin(); it != tags.rend(); ++it)
    if (title.find(*it) != Text::npos) return &*it;
  return nullptr;
}
}  // namespace

TitleKeeper::TitleKeeper(WindowManager& windows, const TSettings& settings, const CycleState& state)
    : windows_(windows), settings_(settings), state_(state) {}

const Text* TitleKeeper::TagIn(const Text& title, const std::vector<Text>* moreTags) const {
  if (title.find(state_.MME) != Text::npos) return &state_.MME;
  if (const Text* tag = NewestIn(title, late_.Unconfirmed())) return tag;
  if (moreTags)
    if (const Text* tag = NewestIn(title, *moreTags)) return tag;
  return NewestIn(title, earlier_);
}

std::optional<Text> TitleKeeper::StrippedTitle(WindowHandle w, Text* title, const std::vector<Text>* moreTags) {
  if (title) title->clear();
  if (w == 0) return Text{};
  std::optional<Text> read = windows_.WindowTitle(w);
  if (!read) return std::nullopt;
  if (title) *title = *read;
  if (const Text* tag = TagIn(*read, moreTags)) return StripTag(*read, *tag, settings_.DispBack);
  // No whole tag: the start of what was written last, cut off inside the tag
  // by its program, stands for the own title written then.
  const Text& t = *read;
  if (w == state_.MhWndOld && !t.empty() && t.size() < lastWritten_.size() &&
      lastWritten_.compare(0, t.size(), t) == 0 && lastOwn_.compare(0, t.size(), t) != 0) {
    return lastOwn_;
  }
  return read;
}

Text TitleKeeper::GetStrippedTitle(WindowHandle w, Text* title) {
  return StrippedTitle(w, title).value_or(Text{});
}

void TitleKeeper::RestoreTitle(WindowHandle w) {
  if (w == 0 || late_.IsPending(w)) return;  // RetryPendingRestore keeps at it
  const std::optional<Text> own = StrippedTitle(w, nullptr);
  if (!own) return;
  if (windows_.WriteWindowText(w, *own)) {
    if (w == state_.MhWndOld) lastWritten_.clear();  // given back
    return;
  }
  const std::optional<Text> now = windows_.WindowTitle(w);
  if (!now || now->empty()) return;  // gone, or nothing to give back
  late_.KeepRestoring(w, state_.MME);
}

void TitleKeeper::RetryPendingRestore(WindowHandle foreground) {
  late_.BackInFront(foreground);
  std::optional<PendingRestore> entry = late_.TakeNext();
  if (!entry) return;
  Text title;
  const std::optional<Text> own = StrippedTitle(entry->window, &title, &entry->tags);
  if (!own || title.empty()) return;  // destroyed meanwhile
  if (windows_.WriteWindowText(entry->window, *own)) {
    if (entry->window == state_.MhWndOld) lastWritten_.clear();
  } else {
    late_.Requeue(std::move(*entry));
  }
}

void TitleKeeper::TitleWritten(Text own, Text written, const Text& tag, bool taken) {
  if (taken) {
    late_.Confirmed();
  } else {
    late_.NotConfirmed(state_.MME);  // what the window still holds
  }
  if (state_.MME != tag && state_.MME != kPlaceholderTag) RememberTag(earlier_, state_.MME, kEarlierTags);
  lastOwn_ = std::move(own);
  lastWritten_ = std::move(written);
}

}  // namespace velmora
