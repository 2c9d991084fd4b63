// Drive readiness, file existence and WAV playback behind the core's
// DiskAndSound seam.
#pragma once

#include "core/seams.h"

namespace velmora::win32 {

class Win32DiskAndSound final : public DiskAndSound {
 public:
  std::uint32_t SetProcessErrorMode(std::uint32_t mode) override;
  bool DiskSpaceKnown(const Text& root) override;
  bool FileExists(const Text& path) override;
  bool PlayWaveFile(const Text& path, std::uint32_t flags) override;
};

}  // namespace velmora::win32
