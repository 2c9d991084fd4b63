// WAV playback in the background, and the file and drive tests in front of
// it that never let the system ask the user about a drive without a medium.
#pragma once

#include <cstdint>

#include "core/seams.h"
#include "core/text.h"

namespace velmora {

inline constexpr std::uint32_t kSemFailCriticalErrors = 0x0001;  // SEM_FAILCRITICALERRORS
inline constexpr std::uint32_t kSndAsyncNoDefault = 0x0001 | 0x0002;  // SND_ASYNC | SND_NODEFAULT

// The drive that the path's first character names is ready, or the path
// begins with a backslash. Only A-Z and a-z name drives.
bool DriveReady(DiskAndSound& disk, TextView path);

// The path's drive is ready and a file (not a folder) exists there.
bool FileExistsReady(DiskAndSound& disk, const Text& path);

// Starts playing the file in the background when it is there; silence
// otherwise. A sound still playing is cut off.
void PlayWave(DiskAndSound& disk, const Text& path);

}  // namespace velmora
