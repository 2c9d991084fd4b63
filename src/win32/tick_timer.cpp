#include "win32/tick_timer.h"

#include <algorithm>
#include <vector>

#include "win32/hidden_window.h"

namespace velmora::win32 {

namespace {

constexpr wchar_t kClassName[] = L"VelmoraTickTimer";

// One per process: the window the timers run on and the live timers.
struct TTickTimerHandler {
  HWND FWindowHandle = nullptr;
  unsigned RefCount = 0;
  unsigned ActiveCount = 0;
  UINT_PTR nextId = 1;
  std::vector<TTickTimer*> timers;
};

TTickTimerHandler& Timers() {
  static TTickTimerHandler handler;
  return handler;
}

}  // namespace

TTickTimer::TTickTimer() : TTickTimer(1000, nullptr) {}

TTickTimer::TTickTimer(UINT interval, Handler onTimer) : interval_(interval), onTimer_(std::move(onTimer)) {
  TTickTimerHandler& h = Timers();
  if (h.RefCount++ == 0) {
    h.FWindowHandle = CreateHiddenWindow(kClassName, &TTickTimer::WindowProc, 0, 0, HWND_MESSAGE);
  }
  // A number of our own, never reused while the process runs.
  id_ = h.nextId++;
  h.timers.push_back(this);
}

TTickTimer::~TTickTimer() {
  if (enabled_ || running_) Stop(true);
  TTickTimerHandler& h = Timers();
  std::erase(h.timers, this);
  if (--h.RefCount == 0 && h.FWindowHandle) {
    ::DestroyWindow(h.FWindowHandle);
    h.FWindowHandle = nullptr;
  }
}

HWND TTickTimer::SharedWindow() { return Timers().FWindowHandle; }
unsigned TTickTimer::ActiveCount() { return Timers().ActiveCount; }

bool TTickTimer::Start() {
  if (interval_ == 0) return false;
  if (running_) Stop(true);
  TTickTimerHandler& h = Timers();
  if (!::SetTimer(h.FWindowHandle, id_, interval_, nullptr)) return false;
  enabled_ = true;
  running_ = true;
  ++h.ActiveCount;
  return true;
}

void TTickTimer::Stop(bool disable) {
  if (disable) enabled_ = false;
  if (!running_) return;
  TTickTimerHandler& h = Timers();
  if (::KillTimer(h.FWindowHandle, id_) && h.ActiveCount > 0) --h.ActiveCount;
  running_ = false;
}

void TTickTimer::SetEnabled(bool enabled) {
  if (enabled) {
    Start();
  } else {
    Stop(true);
  }
}

void TTickTimer::SetInterval(UINT ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (!enabled_) return;
  if (ms != 0) {
    Start();
  } else {
    Stop(false);
  }
}

void TTickTimer::SetOnTimer(Handler onTimer) {
  onTimer_ = std::move(onTimer);
  if (!onTimer_ && enabled_) Stop(false);
}

LRESULT CALLBACK TTickTimer::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg != WM_TIMER) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  TTickTimerHandler& h = Timers();
  const auto it = std::find_if(h.timers.begin(), h.timers.end(), [&](TTickTimer* t) { return t->id_ == wParam; });
  if (it == h.timers.end()) return 0;
  TTickTimer& timer = **it;
  if (timer.AutoDisable) timer.Stop(true);
  // The handler may destroy the timer: take a copy of it first.
  if (Handler onTimer = timer.onTimer_) onTimer(timer);
  return 0;
}

}  // namespace velmora::win32
