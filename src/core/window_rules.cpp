#include "core/window_rules.h"

namespace velmora {

WindowHandle GetFocusWindow(WindowManager& wm) { return wm.GuiThreadFocus(); }

bool GetWindowBounds(WindowManager& wm, WindowHandle w, Bounds& out) {
  Rect r;
  if (!wm.GetWindowRect(w, r)) return false;
  if (r.left == kParkedPosition && r.top == kParkedPosition) return false;
  // Widths in 64 bits first: a hostile rectangle must not overflow.
  out.left = r.left;
  out.top = r.top;
  out.width = static_cast<std::int32_t>(static_cast<std::int64_t>(r.right) - r.left);
  out.height = static_cast<std::int32_t>(static_cast<std::int64_t>(r.bottom) - r.top);
  return true;
}

bool IsOffScreen(WindowManager& wm, std::int32_t left, std::int32_t top, std::int32_t width,
                 std::int32_t height) {
  const auto l = static_cast<std::int64_t>(left), t = static_cast<std::int64_t>(top);
  const auto r = l + width, b = t + height;
  const std::int64_t points[5][2] = {
      {l, t}, {r, b}, {r, t}, {l, b}, {l + width / 2, t + height / 2}};
  for (const auto& p : points) {
    if (wm.MonitorFromPoint(static_cast<std::int32_t>(p[0]), static_cast<std::int32_t>(p[1])))
      return false;
  }
  return true;
}

bool IsTargetWindow(WindowManager& wm, WindowHandle w, bool checkOffScreen) {
  if (w == 0) return false;
  return IsTargetWindow(wm, w, wm.WindowTitle(w).value_or(Text{}), checkOffScreen);
}

bool IsTargetWindow(WindowManager& wm, WindowHandle w, const Text& title, bool checkOffScreen,
                    OffScreenMemory* monitors) {
  if (w == 0) return false;
  // The desktop is known by the first 259 units of its title.
  if (TextView(title).substr(0, 259) == u"Program Manager") return false;
  // One read for all three states. The foreground window is a top-level
  // window, which is visible exactly when its own WS_VISIBLE is set.
  const std::uint32_t style = wm.WindowStyle(w);
  if ((style & kStyleVisible) == 0) return false;
  if (title.empty()) return false;
  if (style & kStyleMinimize) return false;
  if (checkOffScreen && (style & kStyleMaximize) == 0) {
    Bounds b;
    if (!GetWindowBounds(wm, w, b)) return false;
    if (monitors && monitors->known && monitors->bounds == b) return !monitors->offScreen;
    const bool offScreen = IsOffScreen(wm, b.left, b.top, b.width, b.height);
    if (monitors) *monitors = {true, b, offScreen};
    if (offScreen) return false;
  }
  return true;
}

Text MapDevicePathToDrive(ProcessApi& processes, const Text& devicePath) {
  const std::uint32_t drives = processes.LogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((drives & (1u << i)) == 0) continue;
    const auto letter = static_cast<char16_t>(u'A' + i);
    const Text device = processes.DosDeviceName(letter);
    if (device.empty()) continue;
    if (devicePath.size() > device.size() && devicePath.compare(0, device.size(), device) == 0 &&
        devicePath[device.size()] == u'\\') {
      Text out{letter, u':'};
      out.append(devicePath, device.size(), Text::npos);
      return out;
    }
  }
  return devicePath;
}

Text GetProcessFileName(WindowManager& wm, ProcessApi& processes, WindowHandle w) {
  const std::uint32_t pid = wm.WindowProcessId(w);
  Text name = processes.MainModuleFileName(pid);
  if (!name.empty()) return name;
  const Text device = processes.ImageFileName(pid);
  if (device.empty()) return {};
  return MapDevicePathToDrive(processes, device);
}

}  // namespace velmora
