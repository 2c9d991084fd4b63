#include "core/program_launcher.h"

#include "core/errors.h"

namespace velmora {

void RunProgram(ProcessLauncher& launcher, const Text& commandLine, const Text& currentFolder,
                std::uint16_t showCommand) {
  if (!launcher.StartProcess(commandLine, currentFolder, showCommand)) {
    throw Exception(commandLine + u"を起動できません。");
  }
}

}  // namespace velmora
