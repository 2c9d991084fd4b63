// Libraries by name, from the system folder only: never the copy beside the
// program or in its current folder, also for plain loads once the search is
// restricted as Velmora restricts it at start.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support.h"
#include "system_folder.h"
#include "win32/system_library.h"
#include "win32/unique_handle.h"

namespace velmora::win32 {
namespace {

using velmora::testing::BinDir;
using velmora::testing::CurrentFolder;
using velmora::testing::FromSystemFolder;
using velmora::testing::ModulePath;
using velmora::testing::Narrow;
using velmora::testing::PlantedCopy;

// The restriction holds for the rest of this process, as it does in
// Velmora; nothing else here loads a library from beside the program.
TEST(SystemLibrary, NeverTheCopyBesideTheProgramOrInTheCurrentFolder) {
  // A working library under a name the system folder lacks, and under the
  // name of one it has, in both places.
  const std::wstring library = BinDir() + L"testpdh-noclose\\pdh.dll";
  const PlantedCopy besideOwn(library, BinDir() + L"velmora_probe.dll");
  const PlantedCopy currentOwn(library, CurrentFolder() + L"velmora_probe_current.dll");
  const PlantedCopy besidePsapi(library, BinDir() + L"psapi.dll");
  const PlantedCopy currentPsapi(library, CurrentFolder() + L"psapi.dll");
  ASSERT_TRUE(besideOwn.Copied() && currentOwn.Copied() && besidePsapi.Copied() && currentPsapi.Copied())
      << Narrow(CurrentFolder());

  // A plain load takes them: this is the door that is to stay shut.
  for (const wchar_t* name : {L"velmora_probe.dll", L"velmora_probe_current.dll"}) {
    const UniqueModule plain(::LoadLibraryW(name));
    EXPECT_TRUE(plain) << Narrow(name);
  }

  for (const wchar_t* name : {L"velmora_probe.dll", L"velmora_probe_current.dll"}) {
    EXPECT_EQ(LoadSystemLibrary(name), nullptr) << Narrow(name);
  }
  EXPECT_EQ(LoadSystemLibraryA("velmora_probe.dll"), nullptr);
  const UniqueModule psapi(LoadSystemLibrary(L"psapi.dll"));
  ASSERT_TRUE(psapi);
  EXPECT_TRUE(FromSystemFolder(psapi.get(), L"psapi.dll")) << Narrow(ModulePath(psapi.get()));
  const UniqueModule psapiA(LoadSystemLibraryA("psapi.dll"));
  EXPECT_EQ(psapiA.get(), psapi.get());

  RestrictLibrarySearch();
  for (const wchar_t* name : {L"velmora_probe.dll", L"velmora_probe_current.dll"}) {
    const UniqueModule plain(::LoadLibraryW(name));
    EXPECT_FALSE(plain) << Narrow(name) << " from " << Narrow(ModulePath(plain.get()));
  }
}

}  // namespace
}  // namespace velmora::win32
