// Starting the memory trigger's program, from Velmora's own folder.
#pragma once

#include "core/seams.h"

namespace velmora::win32 {

class Win32ProcessLauncher final : public ProcessLauncher {
 public:
  bool StartProcess(const Text& commandLine, const Text& currentFolder, std::uint16_t showCommand) override;
};

// The folder of this program's executable file, with its trailing backslash.
Text OwnProgramFolder();

}  // namespace velmora::win32
