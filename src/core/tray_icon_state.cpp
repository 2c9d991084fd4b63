#include "core/tray_icon_state.h"

#include <algorithm>

namespace velmora {

std::array<char16_t, kTipUnits> TooltipText(TextView hint, bool showHint) {
  std::array<char16_t, kTipUnits> tip{};
  if (!showHint || hint.empty()) return tip;
  const std::size_t n = std::min(hint.size(), kTipMaxText);
  std::copy_n(hint.begin(), n, tip.begin());
  return tip;
}

std::int32_t ClampIconIndex(std::int32_t requested, std::int32_t imageCount) {
  if (imageCount <= 0) return 0;
  return std::clamp(requested, 0, imageCount - 1);
}

TrayReaction TrayClickMachine::Notify(TrayMouse mouse, const Context& context) {
  TrayReaction r;
  if (!context.enabled) return r;
  switch (mouse) {
    case TrayMouse::LeftDown:
      r.startClickTimer = context.hasDoubleClick;
      clickStart_ = true;
      break;
    case TrayMouse::LeftUp:
      if (clickStart_) {
        clickReady_ = true;
        // Without a pending double-click wait the click counts at once.
        if (!context.clickTimerRunning && !r.startClickTimer) {
          clickReady_ = false;
          r.click = true;
        }
      }
      clickStart_ = false;
      break;
    case TrayMouse::LeftDouble:
      clickReady_ = false;
      isDblClick_ = true;
      r.doubleClick = true;
      break;
    case TrayMouse::RightDown:
      r.popup = context.hasPopupMenu;
      break;
    default:
      break;
  }
  return r;
}

TrayReaction TrayClickMachine::ClickTimerTick() {
  TrayReaction r;
  if (!isDblClick_ && clickReady_) {
    clickReady_ = false;
    r.click = true;
  }
  isDblClick_ = false;
  return r;
}

}  // namespace velmora
