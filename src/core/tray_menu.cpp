#include "core/tray_menu.h"

#include "core/show_request.h"

namespace velmora {

const std::array<TrayMenuEntry, kTrayMenuSize>& TrayMenuItems() {
  using enum TrayItem;
  using K = TrayItemKind;
  static const std::array<TrayMenuEntry, kTrayMenuSize> items{{
      {PPStop, u"機能停止", K::Command},
      {PPAnime, u"アニメーション停止", K::Command},
      {PPTray, u"トレイアイコン非表示", K::Command},
      {N4, u"-", K::Separator},
      {PPON, u"表示項目を全部 ON", K::Command},
      {PPOFF, u"表示項目を全部 OFF", K::Command},
      {N3, u"-", K::Separator},
      {PPIME, u"入力インジケーター", K::Toggle},
      {PPDate, u"日付", K::Toggle},
      {PPTime, u"時刻", K::Toggle},
      {PPCPU, u"CPU使用率", K::Toggle},
      {PPCPUCore, u"CPUコア使用率", K::Toggle},
      {PPRAM, u"RAM使用率", K::Toggle},
      {N1, u"-", K::Separator},
      {PPBack, u"タイトル＋表示項目", K::Radio},
      {PPFront, u"表示項目＋タイトル", K::Radio},
      {N2, u"-", K::Separator},
      {PPConfig, u"詳細設定", K::Command},
      {N6, u"-", K::Separator},
      {PPExit, u"終了", K::Command},
  }};
  return items;
}

bool* CheckMarkOf(TSettings& s, TrayItem item) {
  switch (item) {
    case TrayItem::PPStop: return &s.Stopped;
    case TrayItem::PPAnime: return &s.DispAnime;
    case TrayItem::PPTray: return &s.DispTrayIcon;
    case TrayItem::PPIME: return &s.DispIME;
    case TrayItem::PPDate: return &s.DispDate;
    case TrayItem::PPTime: return &s.DispTime;
    case TrayItem::PPCPU: return &s.DispCPU;
    case TrayItem::PPCPUCore: return &s.DispCPUCore;
    case TrayItem::PPRAM: return &s.DispRAM;
    case TrayItem::PPBack: return &s.DispBack;
    case TrayItem::PPFront: return &s.DispFront;
    default: return nullptr;
  }
}

bool IsChecked(const TSettings& s, TrayItem item) {
  const bool* mark = CheckMarkOf(const_cast<TSettings&>(s), item);
  return mark != nullptr && *mark;
}

bool IsItemEnabled(TrayItem item, bool cpuCoreDisabled, bool configAvailable) {
  if (item == TrayItem::PPCPUCore) return !cpuCoreDisabled;
  if (item == TrayItem::PPConfig) return configAvailable;
  return true;
}

void TrayCommands::Choose(TrayItem item) {
  switch (item) {
    case TrayItem::PPStop: PPStopClick(); break;
    case TrayItem::PPAnime: PPAnimeClick(); break;
    case TrayItem::PPTray: PPTrayClick(); break;
    case TrayItem::PPON: PPONClick(); break;
    case TrayItem::PPOFF: PPOFFClick(); break;
    case TrayItem::PPBack: PPBackClick(); break;
    case TrayItem::PPFront: PPFrontClick(); break;
    case TrayItem::PPConfig: shell_.OpenSettings(); break;
    case TrayItem::PPExit: PPExitClick(); break;
    case TrayItem::PPIME:
    case TrayItem::PPDate:
    case TrayItem::PPTime:
    case TrayItem::PPCPU:
    case TrayItem::PPCPUCore:
    case TrayItem::PPRAM: {
      bool* mark = CheckMarkOf(settings_, item);
      *mark = !*mark;
      break;
    }
    default:
      break;
  }
}

void TrayCommands::PPStopClick() {
  state_.MFlashC = 0;  // a running blink ends here
  settings_.Stopped = !settings_.Stopped;
  if (settings_.Stopped) {
    shell_.SetCycleIcons(false);
    shell_.SetTimerEnabled(false);
    shell_.RestoreTitle();
    shell_.DrawStillImage(StillImage::FunctionStopped);
  } else {
    shell_.SetTimerEnabled(true);
    if (!settings_.DispAnime) {
      shell_.SetCycleIcons(true);
    } else {
      shell_.DrawStillImage(StillImage::AnimationStopped);
    }
  }
}

void TrayCommands::PPAnimeClick() {
  settings_.DispAnime = !settings_.DispAnime;
  if (settings_.DispAnime) {
    shell_.SetCycleIcons(false);
    // While the function is stopped the icon keeps the stopped image.
    if (!settings_.Stopped) shell_.DrawStillImage(StillImage::AnimationStopped);
  } else if (settings_.Stopped) {
    shell_.DrawStillImage(StillImage::FunctionStopped);
  } else {
    shell_.SetCycleIcons(true);
  }
}

void TrayCommands::PPTrayClick() {
  // Clicks on the icon are ignored while the dialogs are open.
  shell_.SetIconEnabled(false);
  struct Reenable {
    TrayShell& shell;
    ~Reenable() { shell.SetIconEnabled(true); }
  } reenable{shell_};
  if (shell_.ConfirmHideIcon()) {
    shell_.ShowHowToShowAgain();
    shell_.SetIconVisible(false);
    settings_.DispTrayIcon = true;
  }
}

void TrayCommands::SetAllItems(bool on) {
  for (TrayItem item : {TrayItem::PPIME, TrayItem::PPDate, TrayItem::PPTime, TrayItem::PPCPU,
                        TrayItem::PPCPUCore, TrayItem::PPRAM}) {
    *CheckMarkOf(settings_, item) = on;
  }
}

void TrayCommands::ShowRequest(const void* data, std::uint64_t byteCount) {
  if (!IsShowRequest(data, byteCount)) return;
  shell_.SetIconVisible(true);
  settings_.DispTrayIcon = false;
}

}  // namespace velmora
