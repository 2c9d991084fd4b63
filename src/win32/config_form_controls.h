// The controls of the settings dialog as designed: the kind, parent, place
// (at 96 DPI) and caption of each, the items of the two radio groups, and
// which number field each up-down fills.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <span>

#include "core/config_item.h"
#include "core/dialog_settings.h"

namespace velmora::win32 {

enum class ControlKind { Group, Frame, RadioGroup, Check, Label, Combo, Number, UpDown, Edit, Button, DefButton, List };

struct ControlSpec {
  ConfigItem item;
  ConfigItem parent;  // kForm: the form itself
  ControlKind kind;
  int left, top, width, height;  // at 96 pixels per inch, in the parent's client area
  const wchar_t* caption;
};
inline constexpr ConfigItem kForm = ConfigItem::Count;

// Every control in creation order, which is tab order; a control's row
// stands at its ConfigItem value.
std::span<const ControlSpec> ConfigControls();
const ControlSpec& SpecOf(ConfigItem item);

// The items of RadioGroupDate or RadioGroupTime, index 0 first.
inline constexpr std::size_t kRadioItemCount = 4;
const std::array<const wchar_t*, kRadioItemCount>& RadioItemsOf(ConfigItem group);

// An up-down and the number field it fills. An up-down's range and its
// position at design are those of the setting it edits.
struct UpDownPair {
  ConfigItem upDown;
  ConfigItem field;
};
inline constexpr std::size_t kUpDownCount = 5;
const std::array<UpDownPair, kUpDownCount>& UpDownPairs();
// The place in UpDownPairs of the pair of `item`, an up-down or its field;
// kUpDownCount for any other item.
std::size_t UpDownIndexOf(ConfigItem item);
// The range of the setting an up-down edits.
const ValueRange& RangeOf(ConfigItem upDown);

}  // namespace velmora::win32
