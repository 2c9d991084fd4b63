// Libraries of ours where the system's own live, and where they must not be
// taken from. Velmora takes its libraries from the system folder only, so a
// test that needs a library of ours in their place (the scripted pdh.dll)
// puts it there, in Wine's prefix, and Wine loads it when told to prefer a
// native copy (WINEDLLOVERRIDES=pdh=n).
#pragma once

#include <windows.h>

#include <string>

namespace velmora::testing {

// The system folder, with a trailing backslash.
std::wstring SystemFolder();

// The file a loaded module was loaded from.
std::wstring ModulePath(HMODULE module);

// True when `module` is the system folder's library `name`.
bool FromSystemFolder(HMODULE module, const std::wstring& name);

// True under Wine. On Windows the system folder is the machine's own and
// belongs to the system: no test puts anything there.
bool RunningUnderWine();

// Copies `library` into the system folder under its own file name, in one
// step. The copy that was there first is kept aside the first time (as
// "<name>.own"), for RestoreSystemFolder; a second install keeps that one.
bool InstallInSystemFolder(const std::wstring& library);

// Puts the system's own copy kept aside by InstallInSystemFolder back.
// Nothing to do when there is none.
bool RestoreSystemFolder(const std::wstring& name);

// The current folder, with a trailing backslash.
std::wstring CurrentFolder();

// A copy of a library where no library may be taken from (beside a program,
// in its current folder), removed again when it goes.
class PlantedCopy {
 public:
  PlantedCopy(const std::wstring& library, const std::wstring& path);
  ~PlantedCopy();
  PlantedCopy(const PlantedCopy&) = delete;
  PlantedCopy& operator=(const PlantedCopy&) = delete;

  bool Copied() const { return copied_; }

 private:
  std::wstring path_;
  bool copied_ = false;
};

// While it lives, the system folder holds `library` in place of whatever
// copy was there, which it puts back when it goes.
class ScopedSystemLibrary {
 public:
  explicit ScopedSystemLibrary(const std::wstring& library);
  ~ScopedSystemLibrary();
  ScopedSystemLibrary(const ScopedSystemLibrary&) = delete;
  ScopedSystemLibrary& operator=(const ScopedSystemLibrary&) = delete;

  bool Installed() const { return installed_; }

 private:
  std::wstring target_;
  std::string before_;
  bool installed_ = false;
};

}  // namespace velmora::testing
