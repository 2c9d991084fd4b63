#include "win32/notify_icon.h"

#include <algorithm>

#include "win32/hidden_window.h"

namespace velmora::win32 {

namespace {

constexpr wchar_t kTrayClass[] = L"VelmoraTrayIcon";
// How long a notification area that is not ready yet (at logon) is waited for.
constexpr UINT kRetryIntervalMs = 2000;
constexpr int kRetries = 90;

// One per process: the hidden window that receives the icons' notifications
// and the icons alive, found by number (an address does not fit uID's 32
// bits on 64-bit Windows).
struct TTrayIconHandler {
  HWND FHandle = nullptr;
  unsigned RefCount = 0;
  UINT nextId = 1;
  std::vector<TNotifyIcon*> icons;
};

TTrayIconHandler& Icons() {
  static TTrayIconHandler handler;
  return handler;
}

TNotifyIcon* FindIcon(UINT id) {
  for (TNotifyIcon* icon : Icons().icons) {
    if (icon->IconId() == id) return icon;
  }
  return nullptr;
}

TrayMouse ToTrayMouse(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN: return TrayMouse::LeftDown;
    case WM_LBUTTONUP: return TrayMouse::LeftUp;
    case WM_LBUTTONDBLCLK: return TrayMouse::LeftDouble;
    case WM_RBUTTONDOWN: return TrayMouse::RightDown;
    case WM_RBUTTONUP: return TrayMouse::RightUp;
    case WM_MOUSEMOVE: return TrayMouse::Move;
    default: return TrayMouse::Other;
  }
}

}  // namespace

UINT TNotifyIcon::TaskbarCreatedMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

TNotifyIcon::TNotifyIcon(HWND owner)
    : owner_(owner),
      cycleTimer_(1000, [this](TTickTimer&) { CycleStep(); }),
      clickTimer_(1000, [this](TTickTimer&) { ClickTick(); }),
      retryTimer_(kRetryIntervalMs, [this](TTickTimer&) { RetryAdd(); }) {
  TTrayIconHandler& h = Icons();
  if (h.RefCount++ == 0) {
    // A hidden top-level window rather than a message-only one: only
    // top-level windows hear the "TaskbarCreated" broadcast.
    h.FHandle = CreateHiddenWindow(kTrayClass, &TNotifyIcon::HandleIconMessage, WS_EX_TOOLWINDOW, WS_POPUP, nullptr);
  }
  h.icons.push_back(this);
  TaskbarCreatedMessage();

  data_.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data_.hWnd = h.FHandle;
  data_.uID = h.nextId++;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kCallbackMessage;
}

TNotifyIcon::~TNotifyIcon() {
  RemoveFromTray();
  TTrayIconHandler& h = Icons();
  std::erase(h.icons, this);
  if (--h.RefCount == 0 && h.FHandle) {
    ::DestroyWindow(h.FHandle);
    h.FHandle = nullptr;
  }
}

void TNotifyIcon::PrepareRecord() {
  data_.hIcon = icon_;
  const auto tip = TooltipText(hint_, showHint_);
  static_assert(sizeof(data_.szTip) == sizeof(tip));
  std::copy(tip.begin(), tip.end(), reinterpret_cast<char16_t*>(data_.szTip));
}

bool TNotifyIcon::AddToTray() {
  iconVisible_ = true;
  PrepareRecord();
  if (::Shell_NotifyIconW(NIM_ADD, &data_)) {
    retryTimer_.SetEnabled(false);
    return true;
  }
  // An add fails when the icon is there already (fine) or when the
  // notification area is not ready yet, as at logon: then try again for a
  // while rather than live without an icon.
  if (::Shell_NotifyIconW(NIM_MODIFY, &data_)) {
    retryTimer_.SetEnabled(false);
    return true;
  }
  if (!retryTimer_.Enabled()) {
    retriesLeft_ = kRetries;
    retryTimer_.SetEnabled(true);
  }
  return false;
}

void TNotifyIcon::RetryAdd() {
  if (!iconVisible_ || --retriesLeft_ < 0) {
    retryTimer_.SetEnabled(false);
    return;
  }
  PrepareRecord();
  if (::Shell_NotifyIconW(NIM_ADD, &data_) || ::Shell_NotifyIconW(NIM_MODIFY, &data_)) {
    retryTimer_.SetEnabled(false);
  }
}

bool TNotifyIcon::RemoveFromTray() {
  iconVisible_ = false;
  retryTimer_.SetEnabled(false);
  PrepareRecord();
  return ::Shell_NotifyIconW(NIM_DELETE, &data_) != FALSE;
}

bool TNotifyIcon::UpdateTray() {
  // A hidden icon has nothing to change (the shell would refuse it anyway):
  // the animation steps on without asking, and showing the icon again adds
  // the current picture.
  if (!iconVisible_) return false;
  PrepareRecord();
  return ::Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE;
}

void TNotifyIcon::SetIconList(const std::vector<HICON>* list) {
  iconList_ = list;
  SetIconIndex(0);
}

void TNotifyIcon::SetIconIndex(int index) {
  if (iconList_ != nullptr && !iconList_->empty()) {
    iconIndex_ = ClampIconIndex(index, static_cast<std::int32_t>(iconList_->size()));
    icon_ = (*iconList_)[static_cast<std::size_t>(iconIndex_)];
  } else {
    iconIndex_ = 0;
  }
  UpdateTray();
}

void TNotifyIcon::SetIcon(HICON icon) {
  icon_ = icon;
  UpdateTray();
}

void TNotifyIcon::SetIconVisible(bool visible) {
  if (visible) {
    AddToTray();
  } else {
    RemoveFromTray();
  }
}

void TNotifyIcon::SetCycleIcons(bool on) {
  cycleIcons_ = on;
  if (on) {
    SetIconIndex(0);
    cycleTimer_.SetInterval(cycleInterval_);
    cycleTimer_.SetEnabled(true);
  } else {
    cycleTimer_.SetEnabled(false);
  }
}

void TNotifyIcon::SetCycleInterval(UINT ms) {
  if (ms == cycleInterval_) return;
  cycleInterval_ = ms;
  SetCycleIcons(cycleIcons_);
}

void TNotifyIcon::SetHint(const Text& hint) {
  hint_ = hint;
  UpdateTray();
}

void TNotifyIcon::SetShowHint(bool show) {
  showHint_ = show;
  UpdateTray();
}

void TNotifyIcon::CycleStep() {
  if (iconList_ == nullptr || iconList_->empty()) return;
  const int count = static_cast<int>(iconList_->size());
  SetIconIndex(iconIndex_ < count - 1 ? iconIndex_ + 1 : 0);
}

void TNotifyIcon::ClickTick() {
  clickTimer_.SetEnabled(false);
  if (clicks_.ClickTimerTick().click && OnClick) OnClick();
}

void TNotifyIcon::MouseNotification(UINT mouseMessage) {
  const TrayClickMachine::Context context{enabled_, static_cast<bool>(OnDblClick), static_cast<bool>(OnPopup),
                                          clickTimer_.Enabled()};
  const TrayReaction r = clicks_.Notify(ToTrayMouse(mouseMessage), context);
  if (r.startClickTimer) {
    clickTimer_.SetInterval(::GetDoubleClickTime());
    clickTimer_.SetEnabled(true);
  }
  if (r.click && OnClick) OnClick();
  if (r.doubleClick && OnDblClick) OnDblClick();
  if (r.popup) PopupAtCursor();
}

void TNotifyIcon::PopupAtCursor() {
  POINT at{};
  if (::GetCursorPos(&at)) Popup(at);
}

void TNotifyIcon::Popup(POINT at) {
  if (!OnPopup) return;
  // The menu closes when the user clicks elsewhere only if our window is in
  // front while it tracks.
  ::SetForegroundWindow(data_.hWnd);
  OnPopup(at);
  // So that the next click on the icon opens the menu again at once.
  if (owner_) ::PostMessageW(owner_, WM_NULL, 0, 0);
}

LRESULT CALLBACK TNotifyIcon::HandleIconMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == kCallbackMessage) {
    if (TNotifyIcon* icon = FindIcon(static_cast<UINT>(wParam))) icon->MouseNotification(static_cast<UINT>(lParam));
    return 0;
  }
  if (msg == TaskbarCreatedMessage() && msg != 0) {
    // The shell restarted: put back the icons that are meant to be shown.
    const std::vector<TNotifyIcon*> icons = Icons().icons;
    for (TNotifyIcon* icon : icons) {
      if (icon->iconVisible_) icon->AddToTray();
    }
    return 0;
  }
  switch (msg) {
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_ENDSESSION:
    case WM_NCDESTROY:
      // Agrees to log-off and cannot be closed from outside.
      return 1;
    default:
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace velmora::win32
