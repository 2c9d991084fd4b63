#include "core/sound.h"

namespace velmora {

namespace {

// Keeps critical-error boxes away while it lives, then puts back the mode
// that was in force, whichever way the scope is left.
class QuietCriticalErrors {
 public:
  explicit QuietCriticalErrors(DiskAndSound& disk)
      : disk_(disk), kept_(disk.SetProcessErrorMode(kSemFailCriticalErrors)) {}
  ~QuietCriticalErrors() { disk_.SetProcessErrorMode(kept_); }
  QuietCriticalErrors(const QuietCriticalErrors&) = delete;
  QuietCriticalErrors& operator=(const QuietCriticalErrors&) = delete;

 private:
  DiskAndSound& disk_;
  std::uint32_t kept_;
};

}  // namespace

bool DriveReady(DiskAndSound& disk, TextView path) {
  if (path.empty()) return false;
  char16_t letter = path.front();
  if (letter >= u'a' && letter <= u'z') letter = static_cast<char16_t>(letter - u'a' + u'A');
  if (letter < u'A' || letter > u'Z') return letter == u'\\';
  const Text root{letter, u':', u'\\'};
  QuietCriticalErrors quiet(disk);
  return disk.DiskSpaceKnown(root);
}

bool FileExistsReady(DiskAndSound& disk, const Text& path) {
  return DriveReady(disk, path) && disk.FileExists(path);
}

void PlayWave(DiskAndSound& disk, const Text& path) {
  if (!FileExistsReady(disk, path)) return;
  disk.PlayWaveFile(path, kSndAsyncNoDefault);  // a file that cannot be played stays silent
}

}  // namespace velmora
