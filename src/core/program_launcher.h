// Starting another program without waiting for it.
#pragma once

#include <cstdint>

#include "core/seams.h"
#include "core/text.h"

namespace velmora {

inline constexpr std::uint16_t kShowDefault = 10;  // SW_SHOWDEFAULT

// Starts the command line with the given current folder. Throws Exception
// "<command line>を起動できません。" when the process cannot be created.
void RunProgram(ProcessLauncher& launcher, const Text& commandLine, const Text& currentFolder,
                std::uint16_t showCommand);

}  // namespace velmora
