// The programs of the download packages, unpacked by package.sh into a fresh
// folder: their version resources, and the x64 one started from there as a
// user starts it, with nothing beside it.
// Environment: VELMORA_PACKAGE_VERSION (the project version),
// VELMORA_PACKAGE_X64 and VELMORA_PACKAGE_X86 (the unpacked Velmora.exe).
#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <string>
#include <vector>

#include "support.h"

namespace velmora::e2e {
namespace {

using velmora::testing::ChildProcess;
using velmora::testing::Narrow;
using velmora::testing::TestWindow;
using velmora::testing::TitleOf;
using velmora::testing::WaitFor;

std::wstring Env(const wchar_t* name) {
  std::wstring value(32768, L'\0');
  const DWORD n = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  value.resize(n < value.size() ? n : 0);
  return value;
}

// "1.2.3" as the four 16-bit parts of a fixed version, the fourth 0.
std::vector<std::uint16_t> VersionParts(const std::wstring& text) {
  std::vector<std::uint16_t> parts;
  std::wsmatch m;
  if (std::regex_match(text, m, std::wregex(LR"((\d+)\.(\d+)\.(\d+))"))) {
    for (int i = 1; i <= 3; ++i) parts.push_back(static_cast<std::uint16_t>(std::stoul(m[i].str())));
    parts.push_back(0);
  }
  return parts;
}

// What Explorer's Properties show of a program: its version resource.
struct VersionResource {
  bool read = false;
  std::vector<std::uint16_t> fileVersion, productVersion;
  std::wstring fileVersionText, productVersionText, originalFilename, legalCopyright;
};

VersionResource ReadVersionResource(const std::wstring& exe) {
  VersionResource r;
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  if (size == 0) return r;
  std::vector<std::uint8_t> data(size);
  if (!::GetFileVersionInfoW(exe.c_str(), 0, size, data.data())) return r;

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len) || len < sizeof(*fixed)) {
    return r;
  }
  auto split = [](DWORD ms, DWORD ls) {
    return std::vector<std::uint16_t>{HIWORD(ms), LOWORD(ms), HIWORD(ls), LOWORD(ls)};
  };
  r.fileVersion = split(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
  r.productVersion = split(fixed->dwProductVersionMS, fixed->dwProductVersionLS);

  // The strings of the first language the resource declares.
  struct Translation {
    WORD language, codePage;
  }* translation = nullptr;
  if (!::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &len) ||
      len < sizeof(*translation)) {
    return r;
  }
  wchar_t block[64];
  swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation->language, translation->codePage);
  auto string = [&](const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT chars = 0;
    const std::wstring key = std::wstring(block) + name;
    if (!::VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &chars) || !value) {
      return std::wstring();
    }
    return std::wstring(value);
  };
  r.fileVersionText = string(L"FileVersion");
  r.productVersionText = string(L"ProductVersion");
  r.originalFilename = string(L"OriginalFilename");
  r.legalCopyright = string(L"LegalCopyright");
  r.read = true;
  return r;
}

class PackagedProgram : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(PackagedProgram, VersionResourceIsTheProjectVersion) {
  const std::wstring version = Env(L"VELMORA_PACKAGE_VERSION");
  const std::wstring exe = Env(GetParam());
  ASSERT_FALSE(version.empty()) << "VELMORA_PACKAGE_VERSION is not set";
  ASSERT_FALSE(exe.empty()) << Narrow(GetParam()) << " is not set";
  const std::vector<std::uint16_t> parts = VersionParts(version);
  ASSERT_EQ(parts.size(), 4u) << "not a version: " << Narrow(version);

  const VersionResource r = ReadVersionResource(exe);
  ASSERT_TRUE(r.read) << "no version resource in " << Narrow(exe);
  EXPECT_EQ(r.fileVersion, parts);
  EXPECT_EQ(r.productVersion, parts);
  EXPECT_EQ(r.fileVersionText, version);
  EXPECT_EQ(r.productVersionText, version);
  EXPECT_EQ(r.originalFilename, L"Velmora.exe");
  EXPECT_NE(r.legalCopyright.find(L"Velmora developers"), std::wstring::npos) << Narrow(r.legalCopyright);
}

INSTANTIATE_TEST_SUITE_P(Package, PackagedProgram,
                         ::testing::Values(L"VELMORA_PACKAGE_X64", L"VELMORA_PACKAGE_X86"),
                         [](const auto& info) { return Narrow(info.param).substr(sizeof("VELMORA_PACKAGE_") - 1); });

// The tag with or without the processor total: Wine's own counter library,
// which this run uses, has no per-processor counters, so on a machine with
// more than one processor the CPU item stays empty (its blank remains).
const std::wregex kTag(
    LR"(【 \[A\] \d\d/\d\d/\d\d\([^)]+\) \d\d:\d\d:\d\d (CPU:\d{3})? RAM:\d{3} 】 $)");

TEST(UnpackedPackage, StartsFromItsOwnFolderAndDecoratesTheWindowInFront) {
  const std::wstring exe = Env(L"VELMORA_PACKAGE_X64");
  ASSERT_FALSE(exe.empty()) << "VELMORA_PACKAGE_X64 is not set";
  testing::DataFolderGuard dataFolder(L".package-backup");

  // Started from its folder, as a double click in Explorer starts it.
  const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
  ASSERT_TRUE(::SetCurrentDirectoryW(folder.c_str())) << Narrow(folder);
  ChildProcess velmora(exe, L"");
  ASSERT_TRUE(velmora.Started()) << Narrow(exe);

  TestWindow notes(L"Package notes");
  ASSERT_NE(notes.Hwnd(), nullptr);
  // On a multi-processor machine the counter-failure box comes first and
  // holds the start until it is answered, as a user answers it; then the
  // user clicks into the window.
  std::wstring box;
  const bool decorated = WaitFor(
      [&] {
        for (const HWND dialog : testing::VisibleDialogsOf(velmora.Pid())) {
          box = testing::DialogText(dialog);
          ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        }
        if (::GetForegroundWindow() != notes.Hwnd()) ::PostMessageW(notes.Hwnd(), testwin::kActivate, 0, 0);
        const std::wstring title = notes.Title();
        return title.rfind(notes.OwnTitle(), 0) == 0 &&
               std::regex_match(title.substr(notes.OwnTitle().size()), kTag);
      },
      std::chrono::seconds(30));
  ASSERT_TRUE(decorated) << Narrow(notes.Title());
  if (!box.empty()) {
    EXPECT_EQ(box, L"CPU情報の取得に失敗しました。");
  }

  const HWND main = testing::WaitForWindowOf(velmora.Pid(), L"TMainForm");
  ASSERT_NE(main, nullptr) << "no main window";
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  DWORD code = 1234;
  ASSERT_TRUE(velmora.WaitExit(15000, code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(notes.Title(), L"Package notes");
}

}  // namespace
}  // namespace velmora::e2e
