// Every control of the settings dialog, in creation order (which is its tab
// order). The enabling rules, the settings table and the dialog's windows
// all name the controls by this one enum.
#pragma once

namespace velmora {

enum class ConfigItem {
  GroupBoxDisp, RadioGroupDate, RadioGroupTime, ChkItem, Label1, ComboBoxTimer,
  GroupBoxAlarm, CHKAlarm, LabelAlarm, TXTAlarm, UDAlarm, UDHour, LabelHour, TXTHour, LabelMin, TXTMin, UDMin,
  CHKAlarmWav, EditAlarmWav, BtnAlarmWav,
  GroupBoxWhistle, ChkWhistle, LabelWhistle, TXTWhistle, UDWhistle, ChkWhistleWav, EditWhistleWav, BtntWhistleWav,
  GroupBoxDisable, BtnRef, ListBox, BtnDel, CHKDialog, ListBoxLog, BtnLog,
  GroupBoxMem, ChkMem, LabelMem, TXTMem, UDMem, EditMem, BtnMem,
  BtnOK, BtnCancel,
  Count,
};
inline constexpr int kConfigItemCount = static_cast<int>(ConfigItem::Count);

}  // namespace velmora
