// TConfigForm: the settings dialog. Created once at start-up, where it loads
// the settings; its window is made when it is first shown and then kept
// hidden between shows. The tray menu's settings command shows it modally.
// Its controls edit the dialog fields of TSettings; OK saves them, any other
// close reads the files again.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/config_form_model.h"
#include "core/settings.h"
#include "core/settings_storage.h"
#include "win32/config_form_controls.h"
#include "win32/disk_and_sound.h"
#include "win32/heart_icons.h"
#include "win32/number_edit.h"
#include "win32/unique_handle.h"

namespace velmora::win32 {

inline constexpr wchar_t kConfigFormClass[] = L"TConfigForm";
inline constexpr wchar_t kConfigFormCaption[] = L"Velmora - 詳細設定";

// The control identifier of an item is kFirstConfigId plus its ConfigItem
// value, except BtnOK (IDOK) and BtnCancel (IDCANCEL), which the dialog
// manager's Enter and Esc click.
inline constexpr int kFirstConfigId = 1000;

class TConfigForm {
 public:
  // `appWindow`: the hidden application window, hidden again at each show.
  TConfigForm(HINSTANCE instance, TSettings& settings, SettingsStorage& storage, HWND appWindow = nullptr);
  ~TConfigForm();
  TConfigForm(const TConfigForm&) = delete;
  TConfigForm& operator=(const TConfigForm&) = delete;

  // Creation, once: LoadSettings (an error is shown). False when called twice.
  bool Create();
  // The window and its controls (hidden), made once after Create: the menu
  // font's face, the radio items, the settings shown, the enabling rules.
  // ShowModal makes it when needed. False when the window could not be made.
  bool HandleNeeded();
  // LoadSettings succeeded at creation, so the interval list is the
  // settings' choice.
  bool SettingsLoaded() const { return loaded_; }

  // Shows the dialog modally until it is closed; other messages of the
  // thread keep being dispatched.
  CloseResult ShowModal();
  bool Visible() const { return hwnd_ && ::IsWindowVisible(hwnd_); }

  // The cycle timer's interval from the interval list.
  UINT TimerInterval() const;

  HWND Handle() const { return hwnd_; }
  HWND Item(ConfigItem item) const { return items_[static_cast<std::size_t>(item)]; }
  static int IdOf(ConfigItem item);
  UINT Dpi() const { return dpi_; }

  // The file-open dialog behind the browse buttons: the chosen file's full
  // path, or nothing when the user cancels. Replaceable for tests.
  std::function<std::optional<Text>(HWND owner, const BrowseSpec& spec)> ChooseFile;
  // Where the browse buttons play their sound. Replaceable for tests.
  void UseSound(DiskAndSound& sound) { sound_ = &sound; }

 private:
  template <typename T>
  friend LRESULT CALLBACK ForwardingWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  bool CreateWindowAndControls();
  void CreateControls();
  void CreateFonts();
  void Layout();
  void SetButtonGlyphs();
  void SetUpDownPosition(ConfigItem upDown, std::int32_t position);
  std::int32_t UpDownPosition(ConfigItem upDown) const;
  bool UpDownDelta(const NMUPDOWN& change);
  void UpDownChanged(HWND upDown);

  // Settings to controls and back, by the settings table.
  void ShowSettings(const TSettings& s);
  TSettings Edited() const;
  void ShowValue(ConfigItem control, bool on);
  void ShowValue(ConfigItem control, std::int32_t value);
  void ShowValue(ConfigItem control, const Text& text);
  bool ShownValue(ConfigItem control, bool current) const;
  std::int32_t ShownValue(ConfigItem control, std::int32_t current) const;
  Text ShownValue(ConfigItem control, const Text& current) const;
  void ApplyEnablingRules();
  void RefreshSeenPrograms();

  void Command(int id, int code, HWND control);
  void FormShow();
  void CloseWith(CloseResult result);
  void Browse(BrowseButton button);
  void AddDisabledProgram(const Text& name);
  void BtnDelClick();
  void BtnLogClick();
  void DpiChanged(UINT dpi, const RECT& suggested);

  bool Checked(ConfigItem item) const;
  void SetChecked(ConfigItem item, bool on);
  Text TextOf(ConfigItem item) const;
  void SetText(ConfigItem item, const Text& text);
  // The number field of an up-down, or the field itself.
  std::unique_ptr<TNumberEdit>& NumberFor(ConfigItem item);
  // The items of RadioGroupDate or RadioGroupTime.
  std::array<HWND, kRadioItemCount>& RadiosOf(ConfigItem group);
  const std::array<HWND, kRadioItemCount>& RadiosOf(ConfigItem group) const;

  HINSTANCE instance_;
  TSettings& settings_;
  SettingsStorage& storage_;
  HWND appWindow_;
  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;
  bool created_ = false;
  bool loaded_ = false;
  std::optional<CloseResult> result_;
  std::array<HWND, kConfigItemCount> items_{};
  std::array<std::array<HWND, kRadioItemCount>, 2> radios_{};  // RadioGroupDate's items, RadioGroupTime's
  std::vector<HWND> groups_;  // the group boxes with a caption, whose mnemonic moves into them
  std::array<std::unique_ptr<TNumberEdit>, kUpDownCount> numbers_;  // by UpDownPairs
  UniqueFont font_;     // the dialog font, in the menu font's face
  UniqueFont memFont_;  // EditMem keeps the design face
  UniqueIcon okGlyph_, cancelGlyph_;  // the pictures on BtnOK and BtnCancel
  Win32DiskAndSound ownSound_;
  DiskAndSound* sound_ = &ownSound_;
};

}  // namespace velmora::win32
