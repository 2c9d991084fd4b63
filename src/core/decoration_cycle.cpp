#include "core/decoration_cycle.h"

#include <algorithm>

#include "core/probes.h"
#include "core/title_tag.h"
#include "core/window_rules.h"

namespace velmora {

namespace {
constexpr size_t kMaxUnconfirmedTags = 8;
constexpr size_t kMaxPendingRestores = 8;
}

DecorationCycle::DecorationCycle(TSettings& settings, CycleServices services, DayNames dayNames)
    : settings_(settings), s_(services), dayNames_(std::move(dayNames)) {}

Text DecorationCycle::ComposeTag(const Text& cpuText, const Text& coreText, const Text& ramText) {
  const TSettings& st = settings_;
  Text tag = kTagOpen;
  if (st.DispIME) {
    tag += IsImeOpen(s_.probes, GetFocusWindow(s_.windows)) ? u" [あ]" : u" [A]";
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
  RetryPendingRestore(w);
  if (w != state_.MhWndOld) RestoreWindow(state_.MhWndOld);

  // 5. The title is read once; the tests below look at this reading.
  const Text title = w != 0 ? wm.WindowTitle(w) : Text{};
  if (title.empty()) return;
  Text stripped = StrippedTitle(w, title);
  if (stripped.empty()) return;

  // 6. Exclusion list. The window's process is checked at most once a tick.
  WindowIdentity* identity = nullptr;
  auto owner = [&]() -> WindowIdentity& {
    if (!identity) identity = &Identify(w);
    return *identity;
  };
  for (const auto& entry : st.DisabledPrograms) {
    if (EqualsAsciiNoCase(OwnerFileName(owner()), entry)) return;
  }

  // 7.
  if (!IsTargetWindow(wm, w, title, true)) return;

  // 8. Standard dialogs.
  if (st.DisableDialog && ClassName(owner()) == u"#32770") return;

  // 9.
  if (!st.AnyItemShown()) return;

  // 10-12.
  Text tag = ComposeTag(cpuText, coreText, ramText);
  Text decorated = PlaceTag(stripped, tag, st.DispBack);
  const bool taken = wm.WriteWindowText(w, decorated);
  state_.MhWndOldTitle = RecordWrite(std::move(stripped), std::move(decorated), st.DispBack);
  if (taken) {
    state_.MMEUnconfirmed.clear();
  } else {
    // The window did not take the title in time; it may take it later, or
    // keep the tag it has. Either one must still be found next time.
    Remember(state_.MMEUnconfirmed, state_.MME);
  }
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

Text DecorationCycle::StrippedTitle(WindowHandle w, const Text& title) {
  // MME went into MhWndOld's title only, and left it again when its own title
  // was given back: in any other title the same text is the window's own,
  // and stays.
  static const Text kNoTag;
  const bool last = w == state_.MhWndOld;
  const bool tagged = last && state_.MhWndOldTitle.tagged;
  return OwnTitle(title, tagged ? state_.MME : kNoTag, settings_.DispBack, state_.MMEUnconfirmed,
                  last ? &state_.MhWndOldTitle : nullptr);
}

DecorationCycle::WindowIdentity& DecorationCycle::Identify(WindowHandle w) {
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

void DecorationCycle::RestoreLastTitle() { RestoreWindow(state_.MhWndOld); }

void DecorationCycle::Remember(std::vector<Text>& tags, Text tag) {
  if (std::find(tags.begin(), tags.end(), tag) != tags.end()) return;
  if (tags.size() >= kMaxUnconfirmedTags) tags.erase(tags.begin());
  tags.push_back(std::move(tag));
}

void DecorationCycle::RestoreWindow(WindowHandle w) {
  auto& pending = state_.PendingRestores;
  const auto known = std::find_if(pending.begin(), pending.end(), [&](const PendingRestore& p) { return p.window == w; });
  if (known != pending.end()) return;  // RetryPendingRestore keeps at it
  if (w == 0) return;
  const Text own = StrippedTitle(w, s_.windows.WindowTitle(w));
  if (s_.windows.WriteWindowText(w, own)) {
    if (w == state_.MhWndOld) state_.MhWndOldTitle = RecordWrite(own, own, settings_.DispBack);  // given back
    return;
  }
  if (s_.windows.WindowTitle(w).empty()) return;  // gone, or nothing to give back
  if (pending.size() >= kMaxPendingRestores) pending.erase(pending.begin());
  PendingRestore entry{w, state_.MMEUnconfirmed};
  Remember(entry.tags, state_.MME);
  pending.push_back(std::move(entry));
}

void DecorationCycle::RetryPendingRestore(WindowHandle foreground) {
  auto& pending = state_.PendingRestores;
  // Back in front: its old tags help strip its title in this tick.
  const auto front = std::find_if(pending.begin(), pending.end(),
                                  [&](const PendingRestore& p) { return p.window == foreground; });
  if (front != pending.end()) {
    for (auto& tag : front->tags) Remember(state_.MMEUnconfirmed, std::move(tag));
    pending.erase(front);
  }
  if (pending.empty()) return;
  // One window a tick, so that several hung programs cost one wait.
  PendingRestore entry = std::move(pending.front());
  pending.erase(pending.begin());
  WindowManager& wm = s_.windows;
  const Text title = wm.WindowTitle(entry.window);
  if (title.empty()) return;  // destroyed meanwhile
  const Text stripped = StripTag(title, entry.tags.back(), entry.tags, settings_.DispBack);
  if (!wm.WriteWindowText(entry.window, stripped)) pending.push_back(std::move(entry));
}

}  // namespace velmora
