// The timer-driven cycle: one Tick() samples the metrics, finds the
// foreground window, gives the window decorated last its title back when the
// foreground changed, and writes the tag into the foreground window's title.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/seams.h"
#include "core/probes.h"
#include "core/settings.h"
#include "core/text.h"
#include "core/title_keeper.h"
#include "core/title_tag.h"
#include "core/window_rules.h"

namespace velmora {

// Kept between ticks; fields of the main window.
struct CycleState {
  bool FSingleCore = false;
  bool FMem = false;
  std::int32_t MFlashC = 0;
  WindowHandle MhWndOld = 0;
  Text MME = kPlaceholderTag;
};

// What the tick hands on to the memory trigger and the alerts.
class CycleActions {
 public:
  virtual ~CycleActions() = default;
  // May start the configured program; throws Exception when it cannot.
  virtual void ApplyMemoryTrigger(CycleState& state, std::int32_t clampedLoad) = 0;
  virtual void CheckAlerts(CycleState& state) = 0;
  virtual void BlinkTitle(CycleState& state, WindowHandle decorated) = 0;
};

struct CycleServices {
  WindowManager& windows;
  ProcessApi& processes;
  SystemProbes& probes;
  CpuSampler& cpu;
  Clock& clock;
  CycleActions& actions;
};

class DecorationCycle {
 public:
  DecorationCycle(TSettings& settings, CycleServices services, DayNames dayNames);

  // One tick, all steps in order. An Exception from the memory trigger or a
  // sampler ends the tick where it was raised and reaches the caller.
  void Tick();

  // The tag for the current settings and the given metric texts.
  Text ComposeTag(const Text& cpuText, const Text& coreText, const Text& ramText);

  // The monitors changed (a display change, a monitor added or removed):
  // every window is judged afresh.
  void DisplayChanged() { monitors_.Forget(); }

  // RestoreTitle of MhWndOld: the window decorated last gets its own title
  // back.
  void RestoreLastTitle() { titles_.RestoreTitle(state_.MhWndOld); }

  CycleState& State() { return state_; }
  const CycleState& State() const { return state_; }
  TitleKeeper& Titles() { return titles_; }

 private:

  TSettings& settings_;
  CycleServices s_;
  DayNames dayNames_;
  CycleState state_;
  TitleKeeper titles_;
  ImeMemory ime_;
  OffScreenMemory monitors_;
  WindowHandle lastInFront_ = 0;
  std::vector<std::int32_t> coreValues_;  // reused every tick

  // What is known of the window last asked about. A window belongs to one
  // process and one class for its whole life, so while the same window
  // stays in front none of them is asked again.
  struct WindowIdentity {
    WindowHandle window = 0;
    std::uint32_t pid = 0;
    std::optional<Text> fileName;   // the owner's, looked up on first use
    std::optional<Text> className;  // likewise
  };
  WindowIdentity owner_;
  // Checks the process of `w` (one call, none for `sameWindow`) and forgets
  // what belonged to another window or process.
  WindowIdentity& Identify(WindowHandle w, bool sameWindow);
  const Text& OwnerFileName(WindowIdentity& id);
  const Text& ClassName(WindowIdentity& id);
};

}  // namespace velmora
