// PPMenu, the popup menu of the tray icon: its items, their check marks
// (the display preferences), and the commands behind them.
#pragma once

#include <array>
#include <cstdint>

#include "core/decoration_cycle.h"
#include "core/settings.h"
#include "core/text.h"

namespace velmora {

// Items top to bottom; the values are the menu command identifiers.
enum class TrayItem : std::uint16_t {
  PPStop = 1, PPAnime, PPTray, N4, PPON, PPOFF, N3, PPIME, PPDate, PPTime, PPCPU, PPCPUCore,
  PPRAM, N1, PPBack, PPFront, N2, PPConfig, N6, PPExit,
};

enum class TrayItemKind {
  Command,    // runs its command
  Toggle,     // toggles its own check mark and does nothing else
  Radio,      // one of the placement pair, shown with a radio mark
  Separator,
};

struct TrayMenuEntry {
  TrayItem item;
  const char16_t* caption;
  TrayItemKind kind;
};

inline constexpr std::size_t kTrayMenuSize = 20;
const std::array<TrayMenuEntry, kTrayMenuSize>& TrayMenuItems();

// The preference an item's check mark shows; null for items without one.
bool* CheckMarkOf(TSettings& s, TrayItem item);
bool IsChecked(const TSettings& s, TrayItem item);

// PPCPUCore is disabled on a one-processor machine once its sampler is
// open; PPConfig while there is no settings dialog to open.
bool IsItemEnabled(TrayItem item, bool cpuCoreDisabled, bool configAvailable);

// The two still images of ImageListStop.
enum class StillImage { AnimationStopped = 0, FunctionStopped = 1 };

// What the commands drive: the cycle timer, the tray icon, the dialogs and
// the main window.
class TrayShell {
 public:
  virtual ~TrayShell() = default;
  virtual void SetTimerEnabled(bool enabled) = 0;
  virtual void SetCycleIcons(bool on) = 0;
  virtual void DrawStillImage(StillImage image) = 0;
  virtual void RestoreTitle() = 0;
  virtual void SetIconVisible(bool visible) = 0;
  virtual void SetIconEnabled(bool enabled) = 0;
  // "トレイアイコンを非表示にしますか？" with OK and キャンセル; true for OK.
  virtual bool ConfirmHideIcon() = 0;
  // "表示するには再度起動してください。"
  virtual void ShowHowToShowAgain() = 0;
  virtual void CloseMainWindow() = 0;
  virtual void OpenSettings() = 0;
};

class TrayCommands {
 public:
  TrayCommands(TSettings& settings, CycleState& state, TrayShell& shell)
      : settings_(settings), state_(state), shell_(shell) {}

  // The item chosen from the menu: its command, or its own check mark.
  void Choose(TrayItem item);

  void PPStopClick();
  void TrayIconDblClick() { PPStopClick(); }
  void PPAnimeClick();
  void PPTrayClick();
  void PPONClick() { SetAllItems(true); }
  void PPOFFClick() { SetAllItems(false); }
  void PPBackClick() { settings_.SetDispBack(true); }
  void PPFrontClick() { settings_.SetDispFront(true); }
  void PPMenuPopup() { shell_.RestoreTitle(); }
  void PPExitClick() { shell_.CloseMainWindow(); }

  // WM_COPYDATA from a second start: "/Show" brings the icon back.
  void ShowRequest(const void* data, std::uint64_t byteCount);

 private:
  void SetAllItems(bool on);

  TSettings& settings_;
  CycleState& state_;
  TrayShell& shell_;
};

}  // namespace velmora
