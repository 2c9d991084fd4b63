// PPMenu on screen: built from the item table with the current check marks,
// tracked at a point, and the chosen item handed back.
#pragma once

#include <windows.h>

#include <optional>

#include "core/settings.h"
#include "core/tray_menu.h"
#include "win32/unique_handle.h"

namespace velmora::win32 {

struct DestroyMenuCloser {
  void operator()(HMENU h) const noexcept { ::DestroyMenu(h); }
};
using UniqueMenu = UniqueHandle<HMENU, DestroyMenuCloser>;

// The menu as it stands for these settings.
UniqueMenu BuildTrayMenu(const TSettings& settings, bool cpuCoreDisabled, bool configAvailable);

// Shows the menu at `at` for `owner` (which must be in the foreground) and
// returns the item chosen, if any.
std::optional<TrayItem> TrackTrayMenu(HMENU menu, HWND owner, POINT at);

}  // namespace velmora::win32
