#include "core/late_titles.h"

#include <algorithm>
#include <utility>

namespace velmora {

namespace {
// Enough for a program that stays hung for several ticks; bounded so that a
// long hang costs no more than that.
constexpr size_t kMaxUnconfirmedTags = 8;
constexpr size_t kMaxPendingRestores = 8;
}  // namespace

void RememberTag(std::vector<Text>& tags, Text tag, size_t limit) {
  if (std::find(tags.begin(), tags.end(), tag) != tags.end()) return;
  if (tags.size() >= limit) tags.erase(tags.begin());
  tags.push_back(std::move(tag));
}

void LateTitles::NotConfirmed(const Text& held) { RememberTag(unconfirmed_, held, kMaxUnconfirmedTags); }

void LateTitles::KeepRestoring(WindowHandle w, const Text& current) {
  if (w == 0 || IsPending(w)) return;
  if (pending_.size() >= kMaxPendingRestores) pending_.erase(pending_.begin());
  PendingRestore entry{w, unconfirmed_};
  RememberTag(entry.tags, current, kMaxUnconfirmedTags + 1);
  pending_.push_back(std::move(entry));
}

bool LateTitles::IsPending(WindowHandle w) const {
  return std::any_of(pending_.begin(), pending_.end(), [&](const PendingRestore& p) { return p.window == w; });
}

void LateTitles::BackInFront(WindowHandle w) {
  const auto it = std::find_if(pending_.begin(), pending_.end(), [&](const PendingRestore& p) { return p.window == w; });
  if (it == pending_.end()) return;
  for (auto& tag : it->tags) RememberTag(unconfirmed_, std::move(tag), kMaxUnconfirmedTags);
  pending_.erase(it);
}

std::optional<PendingRestore> LateTitles::TakeNext() {
  if (pending_.empty()) return std::nullopt;
  PendingRestore entry = std::move(pending_.front());
  pending_.erase(pending_.begin());
  return entry;
}

void LateTitles::Requeue(PendingRestore entry) { pending_.push_back(std::move(entry)); }

}  // namespace velmora
