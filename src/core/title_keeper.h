// Every window's own title: a decorated title turned back into it, and
// written back when Velmora moves on. The tag is the first occurrence of
// MME in the title of whichever window is at hand. Beside MME a few other
// tags of ours may still stand in a title, and are looked for when MME is
// not there: the tags of writes a hung program did not confirm, and the
// tags written just before MME (a program that copied its decorated title,
// into a message box's caption, say, or that puts back a title it cached).
#pragma once

#include <optional>
#include <vector>

#include "core/late_titles.h"
#include "core/seams.h"
#include "core/settings.h"
#include "core/text.h"

namespace velmora {

struct CycleState;

class TitleKeeper {
 public:
  TitleKeeper(WindowManager& windows, const TSettings& settings, const CycleState& state);

  // The window's current title without the tag; empty for handle 0, for an
  // untitled window and for one whose title cannot be read. `title`, when
  // given, receives the title as read (empty when it could not be).
  Text GetStrippedTitle(WindowHandle w, Text* title = nullptr);

  // Writes the window's stripped title back, also when nothing was removed.
  // A window whose title cannot be read is left alone; one that does not
  // take the write in time is tried again on the following ticks.
  void RestoreTitle(WindowHandle w);

  // One more try at a window left behind while hung (one a tick, so that
  // several hung programs cost one wait); a pending window that is in front
  // again leaves the line, the tick strips it itself.
  void RetryPendingRestore(WindowHandle foreground);

  // The tick wrote `written` (the own title `own` with `tag`) into the
  // window that becomes MhWndOld; called before MME becomes `tag`. `taken`:
  // the window confirmed the write.
  void TitleWritten(Text own, Text written, const Text& tag, bool taken);

  const LateTitles& Late() const { return late_; }

 private:
  // The own title; nothing when the title cannot be read.
  std::optional<Text> StrippedTitle(WindowHandle w, Text* title, const std::vector<Text>* moreTags = nullptr);
  // The tag of ours that `title` holds: MME first, else the newest other.
  const Text* TagIn(const Text& title, const std::vector<Text>* moreTags) const;

  WindowManager& windows_;
  const TSettings& settings_;
  const CycleState& state_;
  LateTitles late_;
  std::vector<Text> earlier_;  // tags written before MME, newest last
  // The last write into MhWndOld: a program that keeps only the first units
  // of a title may hold a piece of the tag, which no search finds.
  Text lastOwn_, lastWritten_;
};

}  // namespace velmora
