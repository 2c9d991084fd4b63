#include "win32/open_file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "win32/system_library.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace velmora::win32 {

namespace {

using GetOpenFileNameProc = BOOL(WINAPI*)(LPOPENFILENAMEW);

GetOpenFileNameProc OpenFileDialogEntry() {
  static const UniqueModule library(LoadSystemLibrary(L"comdlg32.dll"));
  static const auto entry = EntryOf<GetOpenFileNameProc>(library.get(), "GetOpenFileNameW");
  return entry;
}

}  // namespace

std::optional<Text> RunOpenFileDialog(HWND owner, const BrowseSpec& spec) {
  const GetOpenFileNameProc getOpenFileName = OpenFileDialogEntry();
  if (!getOpenFileName) return std::nullopt;
  // "name|pattern" becomes the double-NUL-ended list the dialog wants.
  std::wstring filter(Wide(Text(spec.filter)));
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.push_back(L'\0');
  std::wstring file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = reinterpret_cast<const wchar_t*>(spec.title);
  // The current folder of a resident program is not moved: it would keep
  // that folder in use until the program ends.
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER |
              OFN_NOCHANGEDIR;
  if (!getOpenFileName(&ofn)) return std::nullopt;
  return FromWide(file.c_str());
}

}  // namespace velmora::win32
