// Processes behind the core's ProcessApi seam: the executable file of a
// window's process, and the DOS device names of the drives.
#pragma once

#include "core/seams.h"

namespace velmora::win32 {

class Win32ProcessApi final : public ProcessApi {
 public:
  Text MainModuleFileName(std::uint32_t pid) override;
  Text ImageFileName(std::uint32_t pid) override;
  std::uint32_t LogicalDrives() override;
  Text DosDeviceName(char16_t letter) override;
};

}  // namespace velmora::win32
