// The data folder and the two settings files in it: "Velmora.ini" (INI text)
// and "Disable.log" (the exclusion list, one file name a line).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/settings.h"
#include "core/text.h"
#include "core/text_encoding.h"

namespace velmora {

// Files and folders as the storage needs them.
class SettingsFiles {
 public:
  virtual ~SettingsFiles() = default;
  // SHGetFolderPathW for a CSIDL; nullopt when the platform fails.
  virtual std::optional<Text> SpecialFolder(int csidl) = 0;
  virtual bool DirectoryExists(const Text& path) = 0;
  // One level; a failure is noticed through DirectoryExists.
  virtual void MakeDirectory(const Text& path) = 0;
  // True for an existing file (not a folder).
  virtual bool FileExists(const Text& path) = 0;
  // The whole file; false with the platform's error code when it fails.
  virtual bool ReadWholeFile(const Text& path, std::string& bytes, std::uint32_t& error) = 0;
  // Replaces the file atomically: afterwards it holds either its old content
  // or `bytes`, never a mix. False with the error code when it fails.
  virtual bool ReplaceFileAtomically(const Text& path, const std::string& bytes, std::uint32_t& error) = 0;
  // The platform's text for an error code.
  virtual Text ErrorText(std::uint32_t error) = 0;
};

inline constexpr char16_t kIniFileName[] = u"Velmora.ini";
inline constexpr char16_t kListFileName[] = u"Disable.log";

// Index 0-5 of the special-folder table; empty when the platform fails or
// the index is unknown.
Text GetSpecialFolder(SettingsFiles& files, unsigned index);

// Creates <app data>\Orvane\<name>\ and stores it, with its trailing
// backslash, in `folder`; true when it exists afterwards. A failed folder
// look-up counts as no folder.
bool PrepareDataFolder(SettingsFiles& files, TextView name, bool allUsers, Text& folder);

// "ファイル <path> は開けません。 <reason> " / "ファイル "<path>" を作成できません。<reason>"
Text OpenErrorText(const Text& path, const Text& reason);
Text CreateErrorText(const Text& path, const Text& reason);

class SettingsStorage {
 public:
  SettingsStorage(SettingsFiles& files, CodePage& ansi, Text dataFolder);

  // The dialog settings and the exclusion list.
  void LoadSettings(TSettings& s);
  void SaveSettings(const TSettings& s);
  // The ten display preferences, section "Disp".
  void LoadPrefs(TSettings& s);
  void SavePrefs(const TSettings& s);

  Text IniPath() const { return dataFolder_ + kIniFileName; }
  Text ListPath() const { return dataFolder_ + kListFileName; }

 private:
  // Missing: empty text in the ANSI encoding. Unreadable: throws.
  DecodedText ReadText(const Text& path);
  void Write(const Text& path, const std::string& bytes);

  SettingsFiles& files_;
  CodePage& ansi_;
  Text dataFolder_;
};

}  // namespace velmora
