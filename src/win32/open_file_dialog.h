// The file-open dialog behind the settings dialog's browse buttons. Its
// library is loaded from the system folder the first time a browse button
// is used, and then kept. Linked at start-up it brings the printing stack
// along (under Wine several megabytes of this resident program's memory)
// for a dialog most sessions never open.
#pragma once

#include <windows.h>

#include <optional>

#include "core/config_form_model.h"
#include "core/text.h"

namespace velmora::win32 {

// The chosen file's full path, or nothing when the user cancels (or the
// library cannot be loaded). The read-only box is hidden, path and file
// must exist, the dialog can be resized.
std::optional<Text> RunOpenFileDialog(HWND owner, const BrowseSpec& spec);

}  // namespace velmora::win32
