// The settings dialog at work: the settings shown in its controls and read
// back, the enabling rules, the up-downs' steps, the buttons, and the modal
// show. Its window and controls are made in config_form_window.cpp.
#include "win32/config_form.h"

#include <commctrl.h>

#include <algorithm>
#include <variant>
#include <vector>

#include "core/dialog_settings.h"
#include "core/sound.h"
#include "win32/config_form_controls.h"
#include "win32/error_box.h"
#include "win32/list_box.h"
#include "win32/message_box.h"
#include "win32/message_loop.h"
#include "win32/mnemonics.h"
#include "win32/open_file_dialog.h"
#include "win32/wide.h"

namespace velmora::win32 {

using I = ConfigItem;

TConfigForm::TConfigForm(HINSTANCE instance, TSettings& settings, SettingsStorage& storage, HWND appWindow)
    : ChooseFile(&RunOpenFileDialog),
      instance_(instance),
      settings_(settings),
      storage_(storage),
      appWindow_(appWindow) {}

TConfigForm::~TConfigForm() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

int TConfigForm::IdOf(ConfigItem item) {
  if (item == I::BtnOK) return IDOK;
  if (item == I::BtnCancel) return IDCANCEL;
  return kFirstConfigId + static_cast<int>(item);
}

bool TConfigForm::Create() {
  if (created_) return false;
  created_ = true;
  // A failed load is shown, and the interval then stays as it is.
  RunGuarded(nullptr, [&] {
    storage_.LoadSettings(settings_);
    loaded_ = true;
  });
  return true;
}

bool TConfigForm::HandleNeeded() {
  if (hwnd_) return true;
  if (!created_ || !CreateWindowAndControls()) return false;
  ShowSettings(settings_);
  return true;
}

std::unique_ptr<TNumberEdit>& TConfigForm::NumberFor(ConfigItem item) { return numbers_.at(UpDownIndexOf(item)); }

std::array<HWND, kRadioItemCount>& TConfigForm::RadiosOf(ConfigItem group) {
  return radios_[group == I::RadioGroupDate ? 0 : 1];
}

const std::array<HWND, kRadioItemCount>& TConfigForm::RadiosOf(ConfigItem group) const {
  return radios_[group == I::RadioGroupDate ? 0 : 1];
}

void TConfigForm::SetUpDownPosition(ConfigItem upDown, std::int32_t position) {
  const std::int32_t shown = ClampToRange(position, RangeOf(upDown));
  ::SendMessageW(Item(upDown), UDM_SETPOS32, 0, shown);
  NumberFor(upDown)->SetText(DecimalText(shown));
}

std::int32_t TConfigForm::UpDownPosition(ConfigItem upDown) const {
  return static_cast<std::int32_t>(::SendMessageW(Item(upDown), UDM_GETPOS32, 0, 0));
}

bool TConfigForm::UpDownDelta(const NMUPDOWN& change) {
  // The step and its wrap are ours, so they are the same on every platform.
  for (const UpDownPair& u : UpDownPairs()) {
    if (Item(u.upDown) != change.hdr.hwndFrom) continue;
    SetUpDownPosition(u.upDown, WrapStep(change.iPos, change.iDelta, RangeOf(u.upDown)));
    return true;  // the control itself leaves its position alone
  }
  return false;
}

void TConfigForm::UpDownChanged(HWND upDown) {
  for (const UpDownPair& u : UpDownPairs()) {
    if (Item(u.upDown) == upDown) NumberFor(u.field)->SetText(DecimalText(UpDownPosition(u.upDown)));
  }
}

bool TConfigForm::Checked(ConfigItem item) const {
  return ::SendMessageW(Item(item), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TConfigForm::SetChecked(ConfigItem item, bool on) {
  ::SendMessageW(Item(item), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

Text TConfigForm::TextOf(ConfigItem item) const {
  const int len = ::GetWindowTextLengthW(Item(item));
  std::wstring text(static_cast<std::size_t>(len) + 1, L'\0');
  const int got = ::GetWindowTextW(Item(item), text.data(), len + 1);
  return FromWide(text.data(), static_cast<std::size_t>(std::max(got, 0)));
}

void TConfigForm::SetText(ConfigItem item, const Text& text) { ::SetWindowTextW(Item(item), Wide(text)); }

void TConfigForm::ShowValue(ConfigItem control, bool on) { SetChecked(control, on); }

void TConfigForm::ShowValue(ConfigItem control, std::int32_t value) {
  switch (SpecOf(control).kind) {
    case ControlKind::RadioGroup: {
      const auto& radios = RadiosOf(control);
      for (std::size_t k = 0; k < radios.size(); ++k) {
        ::SendMessageW(radios[k], BM_SETCHECK, static_cast<std::int32_t>(k) == value ? BST_CHECKED : 0, 0);
      }
      break;
    }
    case ControlKind::Combo:  // the interval list
      ::SendMessageW(Item(control), CB_SETCURSEL, static_cast<WPARAM>(IntervalIndexOf(value)), 0);
      break;
    default:
      SetUpDownPosition(control, value);
      break;
  }
}

void TConfigForm::ShowValue(ConfigItem control, const Text& text) { SetText(control, text); }

bool TConfigForm::ShownValue(ConfigItem control, bool) const { return Checked(control); }

std::int32_t TConfigForm::ShownValue(ConfigItem control, std::int32_t current) const {
  switch (SpecOf(control).kind) {
    case ControlKind::RadioGroup: {
      const auto& radios = RadiosOf(control);
      std::int32_t shown = current;  // none checked: as it was
      for (std::size_t k = 0; k < radios.size(); ++k) {
        if (::SendMessageW(radios[k], BM_GETCHECK, 0, 0) == BST_CHECKED) shown = static_cast<std::int32_t>(k);
      }
      return shown;
    }
    case ControlKind::Combo: {
      const auto index = ::SendMessageW(Item(control), CB_GETCURSEL, 0, 0);
      return index == CB_ERR ? current : static_cast<std::int32_t>(index);
    }
    default:
      return UpDownPosition(control);
  }
}

Text TConfigForm::ShownValue(ConfigItem control, const Text&) const { return TextOf(control); }

void TConfigForm::ShowSettings(const TSettings& s) {
  for (const DialogSetting& setting : kDialogSettings) {
    std::visit([&](auto field) { ShowValue(setting.control, s.*field); }, setting.field);
  }
  // An unchanged list keeps its selection.
  if (ListItems(Item(I::ListBox)) != s.DisabledPrograms) {
    SetListItems(Item(I::ListBox), s.DisabledPrograms);
    ::EnableWindow(Item(I::BtnDel), FALSE);
  }
  ApplyEnablingRules();
}

TSettings TConfigForm::Edited() const {
  TSettings e = settings_;
  for (const DialogSetting& setting : kDialogSettings) {
    std::visit([&](auto field) { e.*field = ShownValue(setting.control, e.*field); }, setting.field);
  }
  e.DisabledPrograms = ListItems(Item(I::ListBox));
  return e;
}

void TConfigForm::ApplyEnablingRules() {
  for (ConfigItem chk : {I::CHKAlarm, I::ChkWhistle, I::ChkMem}) {
    const BOOL on = Checked(chk) ? TRUE : FALSE;
    for (ConfigItem c : ControlsFollowing(chk)) ::EnableWindow(Item(c), on);
  }
}

void TConfigForm::RefreshSeenPrograms() {
  const HWND list = Item(I::ListBoxLog);
  const auto shown = static_cast<std::size_t>(std::max<LRESULT>(::SendMessageW(list, LB_GETCOUNT, 0, 0), 0));
  for (std::size_t k = shown; k < settings_.SeenPrograms.size(); ++k) {
    AddListItem(list, settings_.SeenPrograms[k]);
  }
}

UINT TConfigForm::TimerInterval() const {
  if (!hwnd_) return settings_.TimerIntervalMs();
  return IntervalFromIndex(static_cast<int>(::SendMessageW(Item(I::ComboBoxTimer), CB_GETCURSEL, 0, 0)));
}

CloseResult TConfigForm::ShowModal() {
  if (Visible() || !HandleNeeded()) return CloseResult::Cancel;
  RefreshSeenPrograms();
  result_.reset();
  RECT r{};
  ::GetWindowRect(hwnd_, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  ::SetWindowPos(hwnd_, HWND_TOP, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE);
  ::ShowWindow(hwnd_, SW_SHOW);
  ::SetForegroundWindow(hwnd_);
  FormShow();

  const bool closed = RunModalLoop(
      hwnd_, [&] { return result_.has_value(); },
      [&](const MSG& msg) {
        return msg.message == WM_SYSCHAR && GroupMnemonic(hwnd_, static_cast<wchar_t>(msg.wParam), groups_);
      });
  if (!closed) result_ = CloseResult::Cancel;  // the program is ending
  ::ShowWindow(hwnd_, SW_HIDE);
  return *result_;
}

void TConfigForm::FormShow() {
  if (appWindow_) ::ShowWindow(appWindow_, SW_HIDE);
  ::SetFocus(Item(I::GroupBoxDisp));
}

void TConfigForm::CloseWith(CloseResult result) {
  if (result_) return;
  bool done = false;
  // A file that cannot be written or read keeps the dialog open as it is.
  RunGuarded(hwnd_, [&] {
    FinishConfigForm(result, Edited(), settings_, storage_);
    done = true;
  });
  if (!done) return;
  if (result != CloseResult::OK) ShowSettings(settings_);
  result_ = result;
}

void TConfigForm::AddDisabledProgram(const Text& name) {
  std::vector<Text> list = ListItems(Item(I::ListBox));
  if (const auto message = velmora::AddDisabledProgram(list, name)) {
    ShowMessageBox(nullptr, Wide(*message), L"Velmora", MB_OK | MB_TASKMODAL);
    return;
  }
  AddListItem(Item(I::ListBox), name);
}

void TConfigForm::BtnDelClick() {
  const HWND list = Item(I::ListBox);
  const auto selected = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (selected != LB_ERR) ::SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  ::EnableWindow(Item(I::BtnDel), HasSelection(list));
}

void TConfigForm::BtnLogClick() {
  const HWND list = Item(I::ListBoxLog);
  const auto selected = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return;
  const std::vector<Text> seen = ListItems(list);
  AddDisabledProgram(seen[static_cast<std::size_t>(selected)]);
}

void TConfigForm::Browse(BrowseButton button) {
  const BrowseSpec& spec = BrowseSpecOf(button);
  const std::optional<Text> chosen = ChooseFile ? ChooseFile(hwnd_, spec) : std::nullopt;
  if (!chosen || !HasExtension(*chosen, spec.extension)) return;
  switch (button) {
    case BrowseButton::BtnRef:
      AddDisabledProgram(Text(FileNamePart(*chosen)));
      break;
    case BrowseButton::BtnMem:
      SetText(I::EditMem, CommandLineForProgram(*chosen));
      break;
    case BrowseButton::BtnAlarmWav:
    case BrowseButton::BtntWhistleWav:
      SetText(button == BrowseButton::BtnAlarmWav ? I::EditAlarmWav : I::EditWhistleWav, *chosen);
      if (FileExistsReady(*sound_, *chosen)) PlayWave(*sound_, *chosen);
      break;
  }
}

void TConfigForm::Command(int id, int code, HWND) {
  const auto is = [&](ConfigItem item) { return id == IdOf(item); };
  if (is(I::ListBox) || is(I::ListBoxLog)) {
    if (code == LBN_SELCHANGE) {
      const bool own = is(I::ListBox);
      ::EnableWindow(Item(own ? I::BtnDel : I::BtnLog), HasSelection(Item(own ? I::ListBox : I::ListBoxLog)));
    }
    return;
  }
  if (code != BN_CLICKED) return;
  if (is(I::BtnOK)) {
    CloseWith(CloseResult::OK);
  } else if (is(I::BtnCancel)) {
    CloseWith(CloseResult::Cancel);
  } else if (is(I::CHKAlarm) || is(I::ChkWhistle) || is(I::ChkMem)) {
    ApplyEnablingRules();
  } else if (is(I::BtnRef)) {
    Browse(BrowseButton::BtnRef);
  } else if (is(I::BtnMem)) {
    Browse(BrowseButton::BtnMem);
  } else if (is(I::BtnAlarmWav)) {
    Browse(BrowseButton::BtnAlarmWav);
  } else if (is(I::BtntWhistleWav)) {
    Browse(BrowseButton::BtntWhistleWav);
  } else if (is(I::BtnDel)) {
    BtnDelClick();
  } else if (is(I::BtnLog)) {
    BtnLogClick();
  }
}

LRESULT TConfigForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code == UDN_DELTAPOS) return UpDownDelta(*reinterpret_cast<const NMUPDOWN*>(lParam)) ? 1 : 0;
      break;
    }
    case WM_VSCROLL:
      if (lParam) UpDownChanged(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CLOSE:
      CloseWith(CloseResult::Cancel);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_.get());
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_DPICHANGED:
      DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    default:
      break;
  }
  return ::DefDlgProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace velmora::win32
