#include "win32/main_form.h"

#include "core/show_request.h"
#include "win32/error_box.h"
#include "win32/message_box.h"
#include "win32/tray_menu_window.h"
#include "win32/window_proc.h"

namespace velmora::win32 {

namespace {
constexpr UINT_PTR kTimerDataId = 1;
}

TMainForm::TMainForm(HINSTANCE instance, TSettings& settings, SettingsStorage& storage,
                     std::uint32_t processorCount)
    : instance_(instance), settings_(settings), storage_(storage), processorCount_(processorCount) {}

TMainForm::~TMainForm() {
  if (hwnd_) ::DestroyWindow(hwnd_);
  TrayIcon.reset();
}

bool TMainForm::Create(HWND owner) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &ForwardingWindowProc<TMainForm>;
  wc.hInstance = instance_;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainFormClass;
  if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  // A dialog frame around a 369 x 338 client area, centred; never shown.
  const DWORD style = WS_CAPTION;
  const DWORD exStyle = WS_EX_DLGMODALFRAME;
  RECT r{0, 0, 369, 338};
  ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  const HWND hwnd = ::CreateWindowExW(exStyle, kMainFormClass, kMainFormTitle, style, x, y, width, height,
                                      owner, nullptr, instance_, this);
  return hwnd != nullptr && cycle_ != nullptr;
}

void TMainForm::SetTimerInterval(UINT ms) {
  timerInterval_ = ms;
  if (timerEnabled_) ::SetTimer(hwnd_, kTimerDataId, timerInterval_, nullptr);
}

void TMainForm::SetTimerEnabled(bool enabled) {
  timerEnabled_ = enabled;
  if (enabled) {
    ::SetTimer(hwnd_, kTimerDataId, timerInterval_, nullptr);
  } else {
    ::KillTimer(hwnd_, kTimerDataId);
  }
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      CreateTrayIcon();
      FormCreate();
      return 0;
    case WM_COPYDATA:
      // The request of a second start; lParam null is ignored.
      if (lParam != 0) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (!ready_) showRequestedEarly_ = showRequestedEarly_ || IsShowRequest(data->lpData, data->cbData);
        if (commands_) commands_->ShowRequest(data->lpData, data->cbData);
      }
      return 0;
    case WM_QUERYENDSESSION:
      // Closed as the exit command closes it; the answer then asks once
      // more. A close that failed (the settings cannot be written) has shown
      // its error already: the answer is no, without a second try and box.
      return CloseMainForm() && CloseQuery() ? 1 : 0;
    case WM_ENDSESSION:
      if (wParam) {
        // The session ends now: no return to the message loop.
        ::DestroyWindow(hwnd_);
        ::ExitProcess(0);
      }
      return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
    case WM_DISPLAYCHANGE:
      // A monitor added, removed or changed: windows are judged afresh.
      if (cycle_) cycle_->DisplayChanged();
      break;
    case WM_TIMER:
      if (wParam == kTimerDataId) {
        TimerDataTimer();
        return 0;
      }
      break;
    case WM_CLOSE:
      CloseMainForm();
      return 0;
    case WM_DESTROY:
      ready_ = false;
      // The program ends even when closing the sampler fails.
      RunGuarded(nullptr, [&] { FormDestroy(); });
      TrayIcon.reset();  // the icon leaves the notification area
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void TMainForm::FormCreate() {
  ::SetWindowTextW(hwnd_, kMainFormTitle);
  cycle_ = std::make_unique<DecorationCycle>(
      settings_, CycleServices{windows_, processes_, probes_, cpu_, clock_, actions_}, ReadDayNames());
  commands_ = std::make_unique<TrayCommands>(settings_, cycle_->State(), static_cast<TrayShell&>(*this));
  storage_.LoadPrefs(settings_);  // an unreadable file ends the creation here
  // The icon is shown only once start-up has finished (FinishStartup): its
  // commands read settings that do not exist before.
  CycleState& state = cycle_->State();
  state.MME = u"【Velmora】";
  state.MhWndOld = ToHandle(hwnd_);
  TrayIcon->SetCycleInterval(1000);
  TrayIcon->SetCycleIcons(!settings_.DispAnime);
  state.FSingleCore = processorCount_ == 1;
  // A binding error leaves here: it is shown, the timer stays off, and
  // PPCPUCore keeps what the preferences gave it.
  cpu_.Open(state.FSingleCore);
  if (state.FSingleCore) {
    settings_.DispCPUCore = false;  // one processor has no per-processor item
    cpuCoreItemDisabled_ = true;
  } else if (cpu_.CPUCoreFailed()) {
    ShowMessageBox(hwnd_, L"CPU情報の取得に失敗しました。", L"Velmora", MB_OK | MB_ICONERROR);
  }
  timerInterval_ = 1000;
  SetTimerEnabled(true);
}

void TMainForm::FormCloseQuery() {
  SetTimerEnabled(false);
  if (TrayIcon) TrayIcon->SetCycleIcons(false);
  if (cycle_) cycle_->RestoreLastTitle();
  storage_.SavePrefs(settings_);
}

void TMainForm::FormDestroy() {
  SetTimerEnabled(false);
  cpu_.Close();
}

void TMainForm::TimerDataTimer() { cycle_->Tick(); }

void TMainForm::FinishStartup() {
  ready_ = true;
  // Loading the preferences may have hidden the icon again after the request.
  if (showRequestedEarly_) settings_.DispTrayIcon = false;
  if (TrayIcon) TrayIcon->SetIconVisible(!settings_.DispTrayIcon);
}

void TMainForm::CreateTrayIcon() {
  const int size = TrayIconSize();
  for (HeartPicture picture : {HeartPicture::Frame0, HeartPicture::Frame1, HeartPicture::AnimationStopped,
                               HeartPicture::FunctionStopped}) {
    icons_.push_back(MakeHeartIcon(picture, size));
  }
  ImageList = {icons_[0].get(), icons_[1].get()};
  ImageListStop = {icons_[2].get(), icons_[3].get()};

  TrayIcon = std::make_unique<TNotifyIcon>(hwnd_);
  TrayIcon->SetIconList(&ImageList);
  TrayIcon->SetCycleInterval(1000);
  TrayIcon->SetHint(u"Velmora");
  TrayIcon->SetIconIndex(0);
  TrayIcon->OnPopup = [this](POINT at) { TrayIconPopup(at); };
  TrayIcon->OnDblClick = [this] {
    if (ready_ && commands_) RunGuarded(hwnd_, [&] { commands_->TrayIconDblClick(); });
  };
  TrayIcon->SetCycleIcons(true);
}

void TMainForm::TrayIconPopup(POINT at) {
  if (!ready_ || !commands_) return;
  RunGuarded(hwnd_, [&] {
    commands_->PPMenuPopup();
    const UniqueMenu menu = MakeTrayMenu();
    if (const auto item = TrackTrayMenu(menu.get(), TrayIcon->Handle(), at)) commands_->Choose(*item);
  });
}

UniqueMenu TMainForm::MakeTrayMenu() const {
  return BuildTrayMenu(settings_, cpuCoreItemDisabled_, configForm_ != nullptr);
}

bool TMainForm::CloseQuery() {
  bool allowed = false;
  RunGuarded(hwnd_, [&] {
    FormCloseQuery();  // a failed save throws: the window stays
    allowed = true;
  });
  return allowed;
}

bool TMainForm::CloseMainForm() {
  if (!CloseQuery()) return false;
  ::PostQuitMessage(0);
  return true;
}

void TMainForm::PPConfigClick() {
  if (!configForm_) return;
  // Neither a tick nor a menu command runs while the dialog edits the settings.
  SetIconEnabled(false);
  SetTimerEnabled(false);
  RestoreTitle();
  configForm_->ShowModal();
  SetTimerInterval(configForm_->TimerInterval());
  SetIconEnabled(true);
  if (!settings_.Stopped) SetTimerEnabled(true);
}

void TMainForm::SetCycleIcons(bool on) { TrayIcon->SetCycleIcons(on); }

void TMainForm::DrawStillImage(StillImage image) {
  TrayIcon->SetIcon(ImageListStop[static_cast<std::size_t>(image)]);
}

void TMainForm::RestoreTitle() { cycle_->RestoreLastTitle(); }

void TMainForm::SetIconVisible(bool visible) {
  // A request that arrives during start-up only clears the check mark;
  // FinishStartup shows the icon.
  if (ready_) TrayIcon->SetIconVisible(visible);
}

void TMainForm::SetIconEnabled(bool enabled) { TrayIcon->SetEnabled(enabled); }

bool TMainForm::ConfirmHideIcon() {
  return ShowMessageBox(nullptr, L"トレイアイコンを非表示にしますか？", L"確認",
                        MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1 | MB_SETFOREGROUND | MB_TASKMODAL) == IDOK;
}

void TMainForm::ShowHowToShowAgain() {
  ShowMessageBox(nullptr, L"表示するには再度起動してください。", kMainFormTitle,
                 MB_OK | MB_SETFOREGROUND | MB_TASKMODAL);
}

void TMainForm::CloseMainWindow() { ::PostMessageW(hwnd_, WM_CLOSE, 0, 0); }

}  // namespace velmora::win32
