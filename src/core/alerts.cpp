#include "core/alerts.h"

#include "core/program_launcher.h"
#include "core/sound.h"

namespace velmora {

namespace {

Text TwoDigits(std::int32_t v) { return DecimalText(v, 2); }

}  // namespace

Alerts::Alerts(const TSettings& settings, AlertServices services, Text ownFolder)
    : settings_(settings), s_(services), ownFolder_(std::move(ownFolder)) {}

void Alerts::ApplyMemoryTrigger(CycleState& state, std::int32_t clampedLoad) {
  const TSettings& st = settings_;
  if (st.RAMEnable && clampedLoad >= st.RAMUse) {
    // A failed start throws past the latch, so the next tick tries again.
    if (!st.RAMExe.empty() && !state.FMem) RunProgram(s_.launcher, st.RAMExe, ownFolder_, kShowDefault);
    state.FMem = true;
  } else {
    state.FMem = false;
  }
}

void Alerts::CheckAlerts(CycleState& state) {
  const TSettings& st = settings_;
  // The settings are compared with the clock as two-digit texts, so a value
  // outside its range (a hand-edited file) simply never matches.
  LocalTime t = s_.clock.Now();
  if (TwoDigits(t.minute) + TwoDigits(t.second) == u"0000" && st.WhistleEnable) {
    state.MFlashC = st.WhistleTime;
    if (st.WhistleWavEnable && FileExistsReady(s_.disk, st.WhistleWavFile)) PlayWave(s_.disk, st.WhistleWavFile);
  }

  t = s_.clock.Now();
  if (TwoDigits(t.second) != u"00" || !st.AlarmEnable) return;
  if (TwoDigits(s_.clock.Now().hour) != TwoDigits(st.AlarmHour)) return;
  if (TwoDigits(s_.clock.Now().minute) != TwoDigits(st.AlarmMin)) return;
  state.MFlashC = st.AlarmTime;
  // Started second, the alarm's sound cuts off the chime's.
  if (st.AlarmWavEnabled && FileExistsReady(s_.disk, st.AlarmWavFile)) PlayWave(s_.disk, st.AlarmWavFile);
}

void Alerts::BlinkTitle(CycleState& state, WindowHandle decorated) {
  if (state.MFlashC <= 0) return;
  WindowManager& wm = s_.windows;
  // Both writes are bounded by the window manager's time-out, so a window
  // that stops answering costs at most two time-outs and the blink.
  // A title that cannot be read is not blanked: it could not be put back.
  if (const std::optional<Text> title = wm.WindowTitle(decorated)) {
    wm.WriteWindowText(decorated, Text{});
    s_.clock.Sleep(kBlinkMs);
    wm.WriteWindowText(decorated, *title);
  }
  --state.MFlashC;
}

}  // namespace velmora
