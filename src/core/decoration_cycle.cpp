#include "core/decoration_cycle.h"

#include <algorithm>

#include "core/probes.h"
#include "core/title_tag.h"
#include "core/window_rules.h"

namespace velmora {

DecorationCycle::DecorationCycle(TSettings& settings, CycleServices services, DayNames dayNames)
    : settings_(settings), s_(services), dayNames_(std::move(dayNames)), titles_(s_.windows, settings_, state_) {}

Text DecorationCycle::ComposeTag(const Text& cpuText, const Text& coreText, const Text& ramText) {
  const TSettings& st = settings_;
  Text tag = kTagOpen;
  if (st.DispIME) {
    tag += IsImeOpen(s_.probes, GetFocusWindow(s_.windows), ime_) ? u" [あ]" : u" [A]";
  }
  if (st.DispDate) {
    tag += u' ';
    tag += DateText(st.FormatDate, s_.clock.Now(), dayNames_);
  }
  if (st.DispTime) {
    tag += u' ';
    tag += TimeText(st.FormatTime, s_.clock.Now());
  }
  if (st.DispCPU) {
    tag += u' ';
    tag += cpuText;
  }
  if (st.DispCPUCore) {
    tag += u' ';
    tag += coreText;
  }
  if (st.DispRAM) {
    tag += u' ';
    tag += ramText;
  }
  tag += kTagClose;
  return tag;
}

void DecorationCycle::Tick() {
  TSettings& st = settings_;
  WindowManager& wm = s_.windows;

  // 1. Processor texts.
  Text cpuText, coreText;
  if (state_.FSingleCore) {
    cpuText = CpuText(s_.cpu.GetCPUUsage(), st.FormatName);
  } else if (!s_.cpu.CPUCoreFailed()) {
    s_.cpu.UpdateCPUCoreUsage();
    const auto& counters = s_.cpu.CPUCounters();
    if (!counters.empty()) {
      coreValues_.clear();
      for (size_t i = 0; i + 1 < counters.size(); ++i) coreValues_.push_back(counters[i].CPU);
      coreText = CoreText(coreValues_, st.FormatName);
      cpuText = CpuText(counters.back().CPU, st.FormatName);
    }
  }

  // 2. Memory.
  const std::int32_t load = std::clamp(GetMemoryLoad(s_.probes), 0, 100);
  const Text ramText = RamText(load, st.FormatName);

  // 3. Memory trigger.
  s_.actions.ApplyMemoryTrigger(state_, load);

  // 4. A new foreground window: the one decorated last gets its title back.
  const WindowHandle w = wm.ForegroundWindow();
  titles_.RetryPendingRestore(w);
  if (w != state_.MhWndOld) titles_.RestoreTitle(state_.MhWndOld);

  // 5. The title as read here also serves the tests of step 7.
  Text title;
  Text stripped = titles_.GetStrippedTitle(w, &title);
  // A window that was in front, titled, on the last tick too is the same
  // window: a handle names another window only after its own has gone.
  const bool sameWindow = w != 0 && w == lastInFront_;
  lastInFront_ = title.empty() ? 0 : w;
  if (stripped.empty()) return;

  // 6. Exclusion list. The window's process is checked at most once a tick.
  WindowIdentity* identity = nullptr;
  auto owner = [&]() -> WindowIdentity& {
    if (!identity) identity = &Identify(w, sameWindow);
    return *identity;
  };
  for (const auto& entry : st.DisabledPrograms) {
    if (EqualsAsciiNoCase(OwnerFileName(owner()), entry)) return;
  }

  // 7.
  if (!IsTargetWindow(wm, w, title, true, &monitors_)) return;

  // 8. Standard dialogs.
  if (st.DisableDialog && ClassName(owner()) == u"#32770") return;

  // 9.
  if (!st.AnyItemShown()) return;

  // 10-12.
  Text tag = ComposeTag(cpuText, coreText, ramText);
  Text decorated = PlaceTag(stripped, tag, st.DispBack);
  const bool taken = wm.WriteWindowText(w, decorated);
  titles_.TitleWritten(std::move(stripped), std::move(decorated), tag, taken);
  state_.MME = std::move(tag);
  state_.MhWndOld = w;

  // 13. Seen list.
  const Text seen = AsciiUpper(OwnerFileName(owner()));
  const bool known = std::any_of(st.SeenPrograms.begin(), st.SeenPrograms.end(),
                                 [&](const Text& e) { return EqualsAsciiNoCase(e, seen); });
  if (!known) st.SeenPrograms.push_back(seen);

  // 14.
  s_.actions.CheckAlerts(state_);
  s_.actions.BlinkTitle(state_, w);
}

DecorationCycle::WindowIdentity& DecorationCycle::Identify(WindowHandle w, bool sameWindow) {
  if (sameWindow && owner_.window == w && owner_.pid != 0) return owner_;
  const std::uint32_t pid = s_.windows.WindowProcessId(w);
  if (pid == 0 || owner_.window != w || owner_.pid != pid) owner_ = {w, pid, std::nullopt, std::nullopt};
  return owner_;
}

const Text& DecorationCycle::OwnerFileName(WindowIdentity& id) {
  if (!id.fileName) id.fileName = Text(FileNamePart(GetProcessFileName(s_.windows, s_.processes, id.window)));
  return *id.fileName;
}

const Text& DecorationCycle::ClassName(WindowIdentity& id) {
  if (!id.className) id.className = s_.windows.ClassName(id.window, 260);
  return *id.className;
}

}  // namespace velmora
