#include "core/config_form_model.h"

#include <algorithm>
#include <array>

namespace velmora {

namespace {

using C = ConfigItem;

constexpr std::array kAlarmGroup{C::TXTAlarm, C::UDAlarm, C::LabelAlarm, C::TXTHour,     C::UDHour,      C::LabelHour,
                                 C::TXTMin,   C::UDMin,   C::LabelMin,   C::CHKAlarmWav, C::EditAlarmWav, C::BtnAlarmWav};
constexpr std::array kWhistleGroup{C::TXTWhistle,    C::UDWhistle,      C::LabelWhistle,
                                   C::ChkWhistleWav, C::EditWhistleWav, C::BtntWhistleWav};
constexpr std::array kMemGroup{C::TXTMem, C::UDMem, C::EditMem, C::LabelMem, C::BtnMem};

constexpr BrowseSpec kBrowseSpecs[] = {
    {u"タイトルを書き換えないプログラム", u"プログラム(*.exe)|*.exe", u".exe"},
    {u"メモリ最適化ソフト", u"プログラム(*.exe)|*.exe", u".exe"},
    {u"アラームのサウンド", u"サウンドファイル(*.wav)|*.wav", u".wav"},
    {u"時報のサウンド", u"サウンドファイル(*.wav)|*.wav", u".wav"},
};

}  // namespace

std::span<const ConfigItem> ControlsFollowing(ConfigItem checkBox) {
  switch (checkBox) {
    case C::CHKAlarm: return kAlarmGroup;
    case C::ChkWhistle: return kWhistleGroup;
    case C::ChkMem: return kMemGroup;
    default: return {};
  }
}

std::int32_t WrapStep(std::int32_t position, std::int32_t delta, UpDownRange range) {
  const std::int64_t next = static_cast<std::int64_t>(ClampToRange(position, range)) + delta;
  if (next > range.max) return range.min;
  if (next < range.min) return range.max;
  return static_cast<std::int32_t>(next);
}

std::int32_t ClampToRange(std::int32_t position, UpDownRange range) {
  return std::clamp(position, range.min, range.max);
}

Text AlreadyListedText(const Text& name) { return name + u"は登録済みです。"; }

std::optional<Text> AddDisabledProgram(std::vector<Text>& list, const Text& name) {
  const bool listed =
      std::any_of(list.begin(), list.end(), [&](const Text& entry) { return EqualsAsciiNoCase(entry, name); });
  if (listed) return AlreadyListedText(name);
  list.push_back(name);
  return std::nullopt;
}

const BrowseSpec& BrowseSpecOf(BrowseButton button) { return kBrowseSpecs[static_cast<int>(button)]; }

bool HasExtension(TextView path, TextView required) {
  const TextView name = FileNamePart(path);
  const auto dot = name.rfind(u'.');
  if (dot == TextView::npos) return false;
  return AsciiLower(name.substr(dot)) == required;
}

Text CommandLineForProgram(const Text& path) {
  if (path.find_first_of(u" \t") == Text::npos) return path;
  if (path.size() >= 2 && path.front() == u'"' && path.back() == u'"') return path;
  return u"\"" + path + u"\"";
}

void FinishConfigForm(CloseResult result, const TSettings& edited, TSettings& settings, SettingsStorage& storage) {
  if (result == CloseResult::OK) {
    storage.SaveSettings(edited);
    CopyDialogFields(edited, settings);
    return;
  }
  // Loaded into a copy: a read that fails half-way changes nothing.
  TSettings loaded = edited;
  storage.LoadSettings(loaded);
  CopyDialogFields(loaded, settings);
}

}  // namespace velmora
