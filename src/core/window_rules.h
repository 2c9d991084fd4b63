// Which windows may be decorated, which program owns a window, and which
// window holds the keyboard focus. No state: every call asks afresh.
#pragma once

#include <cstdint>

#include "core/seams.h"

namespace velmora {

inline constexpr std::int32_t kParkedPosition = -32000;  // minimised windows

struct Bounds {
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Bounds&) const = default;
};

// The off-screen verdict of the rectangle judged last. It holds until the
// window moves or the monitors change (Forget).
struct OffScreenMemory {
  bool known = false;
  Bounds bounds;
  bool offScreen = false;
  void Forget() { known = false; }
};

// The focus window of the foreground thread; 0 when there is none.
WindowHandle GetFocusWindow(WindowManager& wm);

// Fails when the platform fails or the window is parked at (-32000, -32000).
bool GetWindowBounds(WindowManager& wm, WindowHandle w, Bounds& out);

// True when none of the corners or the centre lies on a monitor.
bool IsOffScreen(WindowManager& wm, std::int32_t left, std::int32_t top, std::int32_t width,
                 std::int32_t height);

bool IsTargetWindow(WindowManager& wm, WindowHandle w, bool checkOffScreen);
// The same with the window's title as the caller has just read it; with
// `monitors`, a rectangle judged before is not asked about again.
bool IsTargetWindow(WindowManager& wm, WindowHandle w, const Text& title, bool checkOffScreen,
                    OffScreenMemory* monitors = nullptr);

// Full path of the executable owning the window, with a drive letter where
// one fits; empty when it cannot be found.
Text GetProcessFileName(WindowManager& wm, ProcessApi& processes, WindowHandle w);

// Turns a device-form path (\Device\HarddiskVolume2\x.exe) into a drive-letter
// path; returns it unchanged when no drive's device name prefixes it.
Text MapDevicePathToDrive(ProcessApi& processes, const Text& devicePath);

}  // namespace velmora
