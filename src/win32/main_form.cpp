#include "win32/main_form.h"

#include "win32/error_box.h"

namespace velmora::win32 {

namespace {
constexpr UINT_PTR kTimerDataId = 1;
}

TMainForm::TMainForm(HINSTANCE instance, TSettings& settings, SettingsStorage& storage)
    : instance_(instance), settings_(settings), storage_(storage) {}

TMainForm::~TMainForm() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

bool TMainForm::Create() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &TMainForm::WindowProc;
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
                                      nullptr, nullptr, instance_, this);
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

LRESULT CALLBACK TMainForm::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  TMainForm* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<TMainForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<TMainForm*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  LRESULT result = 0;
  RunGuarded(hwnd, [&] { result = self->HandleMessage(msg, wParam, lParam); });
  return result;
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      FormCreate();
      return 0;
    case WM_TIMER:
      if (wParam == kTimerDataId) {
        TimerDataTimer();
        return 0;
      }
      break;
    case WM_CLOSE:
      FormCloseQuery();  // a failed save throws: the window stays
      ::DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      // The program ends even when closing the sampler fails.
      RunGuarded(nullptr, [&] { FormDestroy(); });
      ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      const HWND hwnd = hwnd_;
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    default:
      break;
  }
  return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void TMainForm::FormCreate() {
  ::SetWindowTextW(hwnd_, kMainFormTitle);
  cycle_ = std::make_unique<DecorationCycle>(
      settings_, CycleServices{windows_, processes_, probes_, cpu_, clock_, actions_}, ReadDayNames());
  storage_.LoadPrefs(settings_);  // an unreadable file ends the creation here
  CycleState& state = cycle_->State();
  state.MME = u"【Velmora】";
  state.MhWndOld = ToHandle(hwnd_);
  state.FSingleCore = ProcessorCount() == 1;
  // A binding error leaves here: it is shown, and the timer stays off.
  cpu_.Open(state.FSingleCore);
  if (state.FSingleCore) {
    settings_.DispCPUCore = false;  // one processor has no per-processor item
  } else if (cpu_.CPUCoreFailed()) {
    ::MessageBoxW(hwnd_, L"CPU情報の取得に失敗しました。", L"Velmora", MB_OK | MB_ICONERROR);
  }
  timerInterval_ = 1000;
  SetTimerEnabled(true);
}

void TMainForm::FormCloseQuery() {
  SetTimerEnabled(false);
  if (cycle_) cycle_->RestoreLastTitle();
  storage_.SavePrefs(settings_);
}

void TMainForm::FormDestroy() {
  SetTimerEnabled(false);
  cpu_.Close();
}

void TMainForm::TimerDataTimer() { cycle_->Tick(); }

}  // namespace velmora::win32
