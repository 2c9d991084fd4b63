// What is known of title writes that a program did not take in time. A
// program that does not answer may still take such a write later, or never:
// its title may then hold a tag other than the current one, and a window
// left behind may still hold its tag until it answers again.
#pragma once

#include <optional>
#include <vector>

#include "core/seams.h"
#include "core/text.h"

namespace velmora {

// A window left behind whose restore it did not take in time, with the tags
// its title may still hold (newest last); tried again on the following ticks.
struct PendingRestore {
  WindowHandle window = 0;
  std::vector<Text> tags;
};

class LateTitles {
 public:
  // A title write was taken: nothing that went before can still arrive.
  void Confirmed() { unconfirmed_.clear(); }
  // A title write was not taken in time: the window keeps `held` (the tag it
  // had), or takes the new one later.
  void NotConfirmed(const Text& held);
  // Tags of writes that were not confirmed, newest last.
  const std::vector<Text>& Unconfirmed() const { return unconfirmed_; }

  // `w` did not take its restore in time; it may hold `current` or any
  // unconfirmed tag.
  void KeepRestoring(WindowHandle w, const Text& current);
  bool IsPending(WindowHandle w) const;
  // The window is in front again: the tick strips it itself, with its tags
  // among the unconfirmed ones.
  void BackInFront(WindowHandle w);
  // The window whose turn it is, out of the line; Requeue puts it back last.
  std::optional<PendingRestore> TakeNext();
  void Requeue(PendingRestore entry);
  const std::vector<PendingRestore>& Pending() const { return pending_; }

 private:
  std::vector<Text> unconfirmed_;
  std::vector<PendingRestore> pending_;
};

// Adds `tag` at the end unless it is there already, dropping the oldest
// beyond `limit`.
void RememberTag(std::vector<Text>& tags, Text tag, size_t limit);

}  // namespace velmora
