// TMainForm: the hidden main window. It owns the cycle timer and the state of
// the decoration cycle, and closing it ends the program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/alerts.h"
#include "core/decoration_cycle.h"
#include "core/pdh_binding.h"
#include "core/processor_sampler.h"
#include "core/settings.h"
#include "core/settings_storage.h"
#include "win32/pdh_library.h"
#include "core/tray_menu.h"
#include "win32/config_form.h"
#include "win32/heart_icons.h"
#include "win32/notify_icon.h"
#include "win32/platform.h"
#include "win32/tray_menu_window.h"

namespace velmora::win32 {

inline constexpr wchar_t kMainFormClass[] = L"TMainForm";
inline constexpr wchar_t kMainFormTitle[] = L"Velmora";

class TMainForm : private TrayShell {
 public:
  // `processorCount`: the logical processors the platform reports, read
  // once at program start.
  TMainForm(HINSTANCE instance, TSettings& settings, SettingsStorage& storage, std::uint32_t processorCount);
  ~TMainForm();
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // Registers the class and creates the (never shown) window; false when the
  // window could not be created.
  bool Create(HWND owner = nullptr);

  // Start-up has finished (the settings are loaded): the tray icon shows
  // now, unless it was hidden at the last exit, and its commands run from
  // now on.
  void FinishStartup();

  HWND Handle() const { return hwnd_; }
  DecorationCycle& Cycle() { return *cycle_; }

  // The settings dialog that PPConfig opens; none leaves the item disabled.
  void SetConfigForm(TConfigForm* form) { configForm_ = form; }

  // PPMenu as the tray icon opens it now: items, check marks, enabled states.
  UniqueMenu MakeTrayMenu() const;

  // TimerData: the interval applies from the next tick.
  void SetTimerInterval(UINT ms);
  void SetTimerEnabled(bool enabled) override;

 private:
  template <typename T>
  friend LRESULT CALLBACK ForwardingWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  void FormCreate();
  void FormCloseQuery();
  void FormDestroy();
  void TimerDataTimer();

  void CreateTrayIcon();
  void TrayIconPopup(POINT at);
  // The close request; true when the application may end.
  bool CloseQuery();
  bool CloseMainForm();

  // TrayShell: what the menu commands drive.
  void SetCycleIcons(bool on) override;
  void DrawStillImage(StillImage image) override;
  void RestoreTitle() override;
  void SetIconVisible(bool visible) override;
  void SetIconEnabled(bool enabled) override;
  bool ConfirmHideIcon() override;
  void ShowHowToShowAgain() override;
  void CloseMainWindow() override;
  void OpenSettings() override { PPConfigClick(); }
  void PPConfigClick();

  HINSTANCE instance_;
  TSettings& settings_;
  SettingsStorage& storage_;
  std::uint32_t processorCount_;
  HWND hwnd_ = nullptr;
  // PPCPUCore is disabled once the one-processor sampler has been opened; a
  // creation that failed before leaves it as it was.
  bool cpuCoreItemDisabled_ = false;

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

  // ImageList (the two animation frames) and ImageListStop (animation
  // stopped, function stopped), made for the notification area's icon size.
  std::vector<UniqueIcon> icons_;
  std::vector<HICON> ImageList;
  std::vector<HICON> ImageListStop;
  std::unique_ptr<TNotifyIcon> TrayIcon;
  std::unique_ptr<TrayCommands> commands_;
  TConfigForm* configForm_ = nullptr;
  bool ready_ = false;
  // A show request that came while start-up was still loading the
  // preferences; FinishStartup honours it.
  bool showRequestedEarly_ = false;

  UINT timerInterval_ = 1000;
  bool timerEnabled_ = false;
};

}  // namespace velmora::win32
