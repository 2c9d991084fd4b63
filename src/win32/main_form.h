// TMainForm: the hidden main window. It owns the cycle timer and the state of
// the decoration cycle, and closing it ends the program.
#pragma once

#include <windows.h>

#include <memory>

#include "core/alerts.h"
#include "core/decoration_cycle.h"
#include "core/pdh_binding.h"
#include "core/processor_sampler.h"
#include "core/settings.h"
#include "core/settings_storage.h"
#include "win32/pdh_library.h"
#include "win32/platform.h"

namespace velmora::win32 {

inline constexpr wchar_t kMainFormClass[] = L"TMainForm";
inline constexpr wchar_t kMainFormTitle[] = L"Velmora";

class TMainForm {
 public:
  TMainForm(HINSTANCE instance, TSettings& settings, SettingsStorage& storage);
  ~TMainForm();
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // Registers the class and creates the (never shown) window; false when the
  // window could not be created.
  bool Create();

  HWND Handle() const { return hwnd_; }
  DecorationCycle& Cycle() { return *cycle_; }

  // TimerData: the interval applies from the next tick.
  void SetTimerInterval(UINT ms);
  void SetTimerEnabled(bool enabled);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  void FormCreate();
  void FormCloseQuery();
  void FormDestroy();
  void TimerDataTimer();

  HINSTANCE instance_;
  TSettings& settings_;
  SettingsStorage& storage_;
  HWND hwnd_ = nullptr;

  Win32WindowManager windows_;
  Win32ProcessApi processes_;
  Win32SystemProbes probes_;
  Win32Clock clock_;
  Win32ModuleLoader moduleLoader_;
  Win32PdhEntryPoints pdhEntryPoints_;
  PdhBinding pdh_{moduleLoader_, pdhEntryPoints_};
  ProcessorSampler cpu_{pdh_};
  Win32DiskAndSound disk_;
  Win32ProcessLauncher launcher_;
  Alerts actions_{settings_, {windows_, clock_, disk_, launcher_}, OwnProgramFolder()};
  std::unique_ptr<DecorationCycle> cycle_;

  UINT timerInterval_ = 1000;
  bool timerEnabled_ = false;
};

}  // namespace velmora::win32
