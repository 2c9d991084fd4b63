#include "win32/disk_and_sound.h"

#include <windows.h>

#include "win32/system_library.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace velmora::win32 {

std::uint32_t Win32DiskAndSound::SetProcessErrorMode(std::uint32_t mode) {
  return ::SetErrorMode(static_cast<UINT>(mode));
}

bool Win32DiskAndSound::DiskSpaceKnown(const Text& root) {
  ULARGE_INTEGER available{}, total{}, free{};
  return ::GetDiskFreeSpaceExW(Wide(root), &available, &total, &free) != FALSE;
}

namespace {

struct FindCloser {
  void operator()(HANDLE h) const noexcept { ::FindClose(h); }
};
using UniqueFind = UniqueHandle<HANDLE, FindCloser>;

// FindFirstFileW reports failure as INVALID_HANDLE_VALUE rather than 0.
UniqueFind OwnFindHandle(HANDLE h) noexcept { return UniqueFind(h == INVALID_HANDLE_VALUE ? nullptr : h); }

}  // namespace

bool Win32DiskAndSound::FileExists(const Text& path) {
  const DWORD attributes = ::GetFileAttributesW(Wide(path));
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;  // also a link to a folder
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return true;
    // A link counts when its target can be read, or is only held by another
    // program.
    const auto target = OwnFileHandle(
        ::CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return target || ::GetLastError() == ERROR_SHARING_VIOLATION;
  }
  const DWORD error = ::GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME) return false;
  // Attributes refused for another reason (a locked-down folder, say): a
  // directory search may still see it.
  WIN32_FIND_DATAW found{};
  const auto search = OwnFindHandle(::FindFirstFileW(Wide(path), &found));
  return search && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32DiskAndSound::PlayWaveFile(const Text& path, std::uint32_t flags) {
  // Bound at the first sound, from the system folder, and kept: winmm.dll is
  // not one of the libraries Windows always takes from there, so importing
  // it would let a copy beside Velmora run in its place.
  using Play = BOOL(WINAPI*)(LPCWSTR, UINT);
  static Play play = nullptr;
  if (!play) {
    if (const HMODULE winmm = LoadSystemLibrary(L"winmm.dll")) {
      play = EntryOf<Play>(winmm, "sndPlaySoundW");
    }
  }
  return play && play(Wide(path), static_cast<UINT>(flags)) != FALSE;
}

}  // namespace velmora::win32
