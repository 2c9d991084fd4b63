#include "win32/config_form_controls.h"

#include <iterator>
#include <variant>

#include "core/dialog_settings.h"

namespace velmora::win32 {

namespace {

using I = ConfigItem;

// Creation order is tab order. A label comes right before the control it
// focuses, so that its mnemonic lands there.
constexpr ControlSpec kControls[] = {
    {I::GroupBoxDisp, kForm, ControlKind::Group, 10, 5, 265, 275, L"表示項目(&I)"},
    {I::RadioGroupDate, I::GroupBoxDisp, ControlKind::RadioGroup, 10, 20, 245, 85, L"日付(&D)"},
    {I::RadioGroupTime, I::GroupBoxDisp, ControlKind::RadioGroup, 10, 115, 245, 85, L"時刻(&T)"},
    {I::ChkItem, I::GroupBoxDisp, ControlKind::Check, 15, 205, 225, 20, L"表示項目名を省略(&G)"},
    {I::Label1, I::GroupBoxDisp, ControlKind::Label, 100, 240, 65, 12, L"msで更新(&U)"},
    {I::ComboBoxTimer, I::GroupBoxDisp, ControlKind::Combo, 15, 235, 80, 20, nullptr},
    {I::GroupBoxAlarm, kForm, ControlKind::Frame, 10, 290, 265, 150, nullptr},
    {I::CHKAlarm, I::GroupBoxAlarm, ControlKind::Check, 0, 5, 100, 17, L"アラーム(&A)"},
    {I::LabelAlarm, I::GroupBoxAlarm, ControlKind::Label, 90, 33, 117, 12, L"秒間タイトルバー点滅(&L)"},
    {I::TXTAlarm, I::GroupBoxAlarm, ControlKind::Number, 10, 30, 40, 20, nullptr},
    {I::UDAlarm, I::GroupBoxAlarm, ControlKind::UpDown, 50, 30, 32, 20, nullptr},
    {I::UDHour, I::GroupBoxAlarm, ControlKind::UpDown, 75, 64, 32, 20, nullptr},
    {I::LabelHour, I::GroupBoxAlarm, ControlKind::Label, 110, 66, 28, 12, L"時(&H)"},
    {I::TXTHour, I::GroupBoxAlarm, ControlKind::Number, 35, 64, 40, 20, nullptr},
    {I::LabelMin, I::GroupBoxAlarm, ControlKind::Label, 215, 66, 29, 12, L"分(&M)"},
    {I::TXTMin, I::GroupBoxAlarm, ControlKind::Number, 145, 64, 35, 20, nullptr},
    {I::UDMin, I::GroupBoxAlarm, ControlKind::UpDown, 180, 64, 32, 20, nullptr},
    {I::CHKAlarmWav, I::GroupBoxAlarm, ControlKind::Check, 10, 90, 100, 17, L"サウンド(&O)"},
    {I::EditAlarmWav, I::GroupBoxAlarm, ControlKind::Edit, 10, 110, 170, 20, nullptr},
    {I::BtnAlarmWav, I::GroupBoxAlarm, ControlKind::Button, 190, 108, 65, 25, L"参照(&N)"},
    {I::GroupBoxWhistle, kForm, ControlKind::Frame, 290, 290, 265, 115, nullptr},
    {I::ChkWhistle, I::GroupBoxWhistle, ControlKind::Check, 0, 5, 80, 17, L"時報(&P)"},
    {I::LabelWhistle, I::GroupBoxWhistle, ControlKind::Label, 90, 33, 118, 12, L"秒間タイトルバー点滅(&S)"},
    {I::TXTWhistle, I::GroupBoxWhistle, ControlKind::Number, 10, 30, 40, 20, nullptr},
    {I::UDWhistle, I::GroupBoxWhistle, ControlKind::UpDown, 50, 30, 32, 20, nullptr},
    {I::ChkWhistleWav, I::GroupBoxWhistle, ControlKind::Check, 10, 60, 100, 17, L"サウンド(&U)"},
    {I::EditWhistleWav, I::GroupBoxWhistle, ControlKind::Edit, 10, 80, 170, 20, nullptr},
    {I::BtntWhistleWav, I::GroupBoxWhistle, ControlKind::Button, 190, 78, 65, 25, L"参照(&Y)"},
    {I::GroupBoxDisable, kForm, ControlKind::Group, 290, 5, 265, 175, L"タイトルを書き換えないプログラム(&E)"},
    {I::BtnRef, I::GroupBoxDisable, ControlKind::Button, 165, 20, 90, 25, L"参 照（&R）"},
    {I::ListBox, I::GroupBoxDisable, ControlKind::List, 10, 20, 145, 60, nullptr},
    {I::BtnDel, I::GroupBoxDisable, ControlKind::Button, 165, 55, 90, 25, L"削 除（&X）"},
    {I::CHKDialog, I::GroupBoxDisable, ControlKind::Check, 10, 150, 250, 17, L"ダイアログはすべて書き換えない(&W)"},
    {I::ListBoxLog, I::GroupBoxDisable, ControlKind::List, 10, 90, 145, 50, nullptr},
    {I::BtnLog, I::GroupBoxDisable, ControlKind::Button, 165, 90, 90, 25, L"追 加（&B）"},
    {I::GroupBoxMem, kForm, ControlKind::Frame, 290, 190, 265, 90, nullptr},
    {I::ChkMem, I::GroupBoxMem, ControlKind::Check, 0, 5, 140, 17, L"メモリ最適化ソフト(&Q)"},
    {I::LabelMem, I::GroupBoxMem, ControlKind::Label, 90, 33, 114, 12, L"%以上になったら実行(&C)"},
    {I::TXTMem, I::GroupBoxMem, ControlKind::Number, 10, 30, 40, 20, nullptr},
    {I::UDMem, I::GroupBoxMem, ControlKind::UpDown, 50, 30, 32, 20, nullptr},
    {I::EditMem, I::GroupBoxMem, ControlKind::Edit, 10, 54, 170, 20, nullptr},
    {I::BtnMem, I::GroupBoxMem, ControlKind::Button, 190, 52, 65, 25, L"参照(&F)"},
    {I::BtnOK, kForm, ControlKind::DefButton, 310, 415, 110, 25, L"OK"},
    {I::BtnCancel, kForm, ControlKind::Button, 440, 415, 110, 25, L"キャンセル"},
};
static_assert(std::size(kControls) == kConfigItemCount);

constexpr bool InItemOrder() {
  for (std::size_t k = 0; k < std::size(kControls); ++k) {
    if (kControls[k].item != static_cast<ConfigItem>(k)) return false;
  }
  return true;
}
static_assert(InItemOrder());

// A setting's editor holds its kind of value: a flag a check box, an
// integer a radio group, the interval list or an up-down, a text an edit box.
constexpr bool EditorsFitTheirSettings() {
  for (const DialogSetting& setting : kDialogSettings) {
    const ControlKind kind = kControls[static_cast<std::size_t>(setting.control)].kind;
    const std::size_t type = setting.field.index();  // flag, integer, text
    const bool fits = type == 0   ? kind == ControlKind::Check
                      : type == 1 ? kind == ControlKind::RadioGroup || kind == ControlKind::Combo ||
                                        kind == ControlKind::UpDown
                                  : kind == ControlKind::Edit;
    if (!fits) return false;
  }
  return true;
}
static_assert(EditorsFitTheirSettings());

constexpr std::array<const wchar_t*, kRadioItemCount> kDateItems = {L"年/月/日(曜日)", L"年/月/日", L"月/日(曜日)",
                                                                    L"月/日"};
constexpr std::array<const wchar_t*, kRadioItemCount> kTimeItems = {L"時:分:秒[24時間]", L"時:分    [24時間]",
                                                                    L"時:分:秒[12時間]", L"時:分    [12時間]"};
static_assert(SettingEditedBy(I::RadioGroupDate)->range.max + 1 == kRadioItemCount);
static_assert(SettingEditedBy(I::RadioGroupTime)->range.max + 1 == kRadioItemCount);

constexpr std::array<UpDownPair, kUpDownCount> kUpDowns = {{
    {I::UDAlarm, I::TXTAlarm},
    {I::UDHour, I::TXTHour},
    {I::UDMin, I::TXTMin},
    {I::UDWhistle, I::TXTWhistle},
    {I::UDMem, I::TXTMem},
}};

}  // namespace

std::span<const ControlSpec> ConfigControls() { return kControls; }

const ControlSpec& SpecOf(ConfigItem item) { return kControls[static_cast<std::size_t>(item)]; }

const std::array<const wchar_t*, kRadioItemCount>& RadioItemsOf(ConfigItem group) {
  return group == I::RadioGroupDate ? kDateItems : kTimeItems;
}

const std::array<UpDownPair, kUpDownCount>& UpDownPairs() { return kUpDowns; }

std::size_t UpDownIndexOf(ConfigItem item) {
  for (std::size_t k = 0; k < kUpDowns.size(); ++k) {
    if (kUpDowns[k].upDown == item || kUpDowns[k].field == item) return k;
  }
  return kUpDowns.size();
}

const ValueRange& RangeOf(ConfigItem upDown) { return SettingEditedBy(upDown)->range; }

}  // namespace velmora::win32
