#include "win32/tray_menu_window.h"

#include "win32/wide.h"

namespace velmora::win32 {

UniqueMenu BuildTrayMenu(const TSettings& settings, bool cpuCoreDisabled, bool configAvailable) {
  UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return menu;
  UINT position = 0;
  for (const TrayMenuEntry& entry : TrayMenuItems()) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    info.wID = static_cast<UINT>(entry.item);
    if (entry.kind == TrayItemKind::Separator) {
      info.fMask = MIIM_ID | MIIM_FTYPE;
      info.fType = MFT_SEPARATOR;
    } else {
      info.fType = entry.kind == TrayItemKind::Radio ? MFT_RADIOCHECK : MFT_STRING;
      info.fState = (IsChecked(settings, entry.item) ? MFS_CHECKED : MFS_UNCHECKED) |
                    (IsItemEnabled(entry.item, cpuCoreDisabled, configAvailable) ? MFS_ENABLED : MFS_DISABLED);
      info.dwTypeData = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(entry.caption));
    }
    ::InsertMenuItemW(menu.get(), position++, TRUE, &info);
  }
  return menu;
}

std::optional<TrayItem> TrackTrayMenu(HMENU menu, HWND owner, POINT at) {
  const UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_LEFTALIGN;
  const int chosen = ::TrackPopupMenuEx(menu, flags, at.x, at.y, owner, nullptr);
  if (chosen <= 0) return std::nullopt;
  return static_cast<TrayItem>(chosen);
}

}  // namespace velmora::win32
