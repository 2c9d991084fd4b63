// The decisions of the notification-area icon that need no window: the
// tooltip text, the image index, and the left-button click state machine.
#pragma once

#include <array>
#include <cstdint>

#include "core/text.h"

namespace velmora {

// szTip of the notification record: the first 126 units of the hint and a
// terminating U+0000; all zeros when there is no hint or hints are off.
inline constexpr std::size_t kTipUnits = 128;
inline constexpr std::size_t kTipMaxText = 126;
std::array<char16_t, kTipUnits> TooltipText(TextView hint, bool showHint);

// The image actually drawn for a requested index: an index at or beyond the
// image count shows the last image, a negative one the first; without
// images it is 0.
std::int32_t ClampIconIndex(std::int32_t requested, std::int32_t imageCount);

// Mouse notifications of the icon, as the shell reports them.
enum class TrayMouse { LeftDown, LeftUp, LeftDouble, RightDown, RightUp, Move, Other };

// What the icon does in answer to one notification.
struct TrayReaction {
  bool startClickTimer = false;  // (re)start it with the double-click time
  bool click = false;            // raise the click event
  bool doubleClick = false;      // raise the double-click event
  bool popup = false;            // open the popup menu at the cursor
  bool operator==(const TrayReaction&) const = default;
};

// A left press starts the click timer when a double-click handler is set, so
// that a single click waits the double-click time before it counts; a double
// click counts at its second press and cancels the pending single click.
class TrayClickMachine {
 public:
  struct Context {
    bool enabled = true;          // with false every mouse notification is ignored
    bool hasDoubleClick = false;  // an OnDblClick handler is set
    bool hasPopupMenu = false;    // a popup menu with automatic popup
    bool clickTimerRunning = false;
  };

  TrayReaction Notify(TrayMouse mouse, const Context& context);
  // The click timer fired (the caller has stopped it).
  TrayReaction ClickTimerTick();

  bool ClickStart() const { return clickStart_; }
  bool ClickReady() const { return clickReady_; }

 private:
  bool clickStart_ = false;
  bool clickReady_ = false;
  bool isDblClick_ = false;
};

}  // namespace velmora
