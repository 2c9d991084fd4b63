// TTickTimer: a timer that needs no window of its owner. All such timers
// share one hidden message window, created by the first timer and destroyed
// with the last.
#pragma once

#include <windows.h>

#include <functional>

namespace velmora::win32 {

class TTickTimer {
 public:
  using Handler = std::function<void(TTickTimer&)>;

  TTickTimer();
  TTickTimer(UINT interval, Handler onTimer);
  ~TTickTimer();
  TTickTimer(const TTickTimer&) = delete;
  TTickTimer& operator=(const TTickTimer&) = delete;

  bool Enabled() const { return enabled_; }
  // True starts it (a zero interval stays stopped), false stops it.
  void SetEnabled(bool enabled);
  UINT Interval() const { return interval_; }
  // A new interval restarts a running timer; 0 pauses it, still enabled.
  void SetInterval(UINT ms);
  void SetOnTimer(Handler onTimer);
  bool AutoDisable = false;  // stop after the first tick
  int Tag = 0;

  // The shared window; null while no timer exists.
  static HWND SharedWindow();
  static unsigned ActiveCount();

 private:
  bool Start();
  void Stop(bool disable);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

  UINT_PTR id_;
  bool enabled_ = false;
  bool running_ = false;
  UINT interval_ = 1000;
  Handler onTimer_;
};

}  // namespace velmora::win32
