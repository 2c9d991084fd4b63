// TNotifyIcon: one icon in the notification area. It shows a tooltip,
// animates by stepping through a list of images on a timer, turns the
// icon's mouse notifications into a double-click event and a popup request,
// and puts itself back when the taskbar is re-created.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <vector>

#include "core/text.h"
#include "core/tray_icon_state.h"
#include "win32/tick_timer.h"

namespace velmora::win32 {

class TNotifyIcon {
 public:
  // The callback message of the icon (WM_USER + 0x400).
  static constexpr UINT kCallbackMessage = 0x800;

  // `owner` receives the WM_NULL that follows a popup menu.
  explicit TNotifyIcon(HWND owner);
  ~TNotifyIcon();
  TNotifyIcon(const TNotifyIcon&) = delete;
  TNotifyIcon& operator=(const TNotifyIcon&) = delete;

  // The animation frames; the icons belong to the caller and must outlive
  // their use here.
  void SetIconList(const std::vector<HICON>* list);
  void SetIconIndex(int index);
  int IconIndex() const { return iconIndex_; }
  // Shows a still image (not owned) at once.
  void SetIcon(HICON icon);
  HICON Icon() const { return icon_; }

  void SetIconVisible(bool visible);
  bool IconVisible() const { return iconVisible_; }
  void SetCycleIcons(bool on);
  bool CycleIcons() const { return cycleIcons_; }
  void SetCycleInterval(UINT ms);
  void SetHint(const Text& hint);
  void SetShowHint(bool show);
  // With false the mouse is ignored (animation and tooltip go on).
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool Enabled() const { return enabled_; }

  std::function<void()> OnDblClick;
  std::function<void()> OnClick;
  // Raised for the popup menu at a screen position, after the tray window
  // has been brought to the foreground.
  std::function<void(POINT)> OnPopup;

  bool AddToTray();
  bool RemoveFromTray();
  bool UpdateTray();
  void Popup(POINT at);
  void PopupAtCursor();

  // The shared tray window and this icon's number there.
  HWND Handle() const { return data_.hWnd; }
  UINT IconId() const { return data_.uID; }
  const NOTIFYICONDATAW& Data() const { return data_; }

  static UINT TaskbarCreatedMessage();

 private:
  static LRESULT CALLBACK HandleIconMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
  void MouseNotification(UINT mouseMessage);
  void PrepareRecord();
  void CycleStep();
  void ClickTick();
  void RetryAdd();

  HWND owner_;
  bool enabled_ = true;
  HICON icon_ = nullptr;
  bool iconVisible_ = false;
  Text hint_;
  bool showHint_ = true;
  int iconIndex_ = 0;
  const std::vector<HICON>* iconList_ = nullptr;
  bool cycleIcons_ = false;
  UINT cycleInterval_ = 0;
  TrayClickMachine clicks_;
  TTickTimer cycleTimer_;
  TTickTimer clickTimer_;
  TTickTimer retryTimer_;
  int retriesLeft_ = 0;
  NOTIFYICONDATAW data_{};
};

}  // namespace velmora::win32
