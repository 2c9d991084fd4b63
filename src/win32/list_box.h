// A list box's entries as text, for the settings dialog's two lists.
#pragma once

#include <windows.h>

#include <vector>

#include "core/text.h"

namespace velmora::win32 {

std::vector<Text> ListItems(HWND list);
// Replaces every entry, drawn once at the end.
void SetListItems(HWND list, const std::vector<Text>& items);
void AddListItem(HWND list, const Text& item);
bool HasSelection(HWND list);

}  // namespace velmora::win32
