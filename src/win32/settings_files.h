// The settings files on disk: the data folder, whole-file reads, and atomic
// replacement through a temporary file in the same folder.
#pragma once

#include "core/settings_storage.h"
#include "core/text_encoding.h"

namespace velmora::win32 {

class Win32SettingsFiles final : public SettingsFiles {
 public:
  std::optional<Text> SpecialFolder(int csidl) override;
  bool DirectoryExists(const Text& path) override;
  void MakeDirectory(const Text& path) override;
  bool FileExists(const Text& path) override;
  bool ReadWholeFile(const Text& path, std::string& bytes, std::uint32_t& error) override;
  bool ReplaceFileAtomically(const Text& path, const std::string& bytes, std::uint32_t& error) override;
  Text ErrorText(std::uint32_t error) override;
};

// The system ANSI code page (CP_ACP) through the platform's conversions.
class Win32CodePage final : public CodePage {
 public:
  Text Decode(std::string_view bytes) override;
  std::string Encode(TextView text) override;
  bool IsUtf8() override;
};

}  // namespace velmora::win32
