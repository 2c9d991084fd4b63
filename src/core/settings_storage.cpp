#include "core/settings_storage.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <variant>

#include "core/dialog_settings.h"
#include "core/errors.h"
#include "core/ini_file.h"

namespace velmora {

namespace {

constexpr int kSpecialFolders[] = {0x05, 0x1A, 0x1C, 0x23, 0x27, 0x2E};

// The number a legacy key names: "0", "1", ... as they were written, nothing
// for any other spelling ("01", "+1", "1a").
std::optional<std::uint32_t> LegacyKeyNumber(TextView key) {
  if (key.empty() || key.size() > 10 || (key.size() > 1 && key.front() == u'0')) return std::nullopt;
  std::uint64_t n = 0;
  for (const char16_t c : key) {
    if (c < u'0' || c > u'9') return std::nullopt;
    n = n * 10 + static_cast<std::uint64_t>(c - u'0');
  }
  if (n > 0x7FFFFFFFull) return std::nullopt;
  return static_cast<std::uint32_t>(n);
}

// Keys "0" to "<count>" inclusive, each missing one an empty entry, found in
// one pass over the section: a list of a great many entries must not cost a
// search of the section for each key. The list ends after the last key that
// is there and the one empty entry that stands for the missing key after
// it, so a hand-edited count cannot make it longer. Empty entries for keys
// missing in between are limited to one per character of the file: a lone
// key "2000000000" is honoured without two thousand million entries before it.
void AppendLegacyList(const IniFile& ini, std::size_t fileLength, std::vector<Text>& list) {
  const std::int32_t count = ini.ReadInteger(u"Disable", u"Count", -1);
  if (count < 0) return;
  struct Key {
    std::uint32_t number;
    const Text* value;
  };
  std::vector<Key> keys;
  ini.ForEachValue(u"Disable", [&](TextView key, const Text& value) {
    const auto number = LegacyKeyNumber(key);
    if (number && *number <= static_cast<std::uint32_t>(count)) keys.push_back({*number, &value});
  });
  // In key order; of a key written twice the later line counts.
  std::stable_sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) { return a.number < b.number; });

  std::uint64_t next = 0;  // the first key not yet appended
  std::size_t emptyLeft = fileLength;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i + 1 < keys.size() && keys[i + 1].number == keys[i].number) continue;
    const std::uint64_t missing = std::min<std::uint64_t>(keys[i].number - next, emptyLeft);
    list.insert(list.end(), static_cast<std::size_t>(missing), Text());
    emptyLeft -= static_cast<std::size_t>(missing);
    list.push_back(*keys[i].value);
    next = keys[i].number + 1ull;
  }
  if (next <= static_cast<std::uint64_t>(count)) list.emplace_back();
}

// A dialog setting from the file: a key that is absent or does not read
// keeps the current value, or gives the initial one where the table says so.
template <typename T>
T ReadDefault(const DialogSetting& setting, const T& current) {
  return setting.absent == AbsentKey::GivesInitial ? InitialValue<T>(setting) : current;
}
bool ReadSetting(const IniFile& ini, const DialogSetting& setting, bool current) {
  return ini.ReadBool(setting.section, setting.key, ReadDefault(setting, current));
}
std::int32_t ReadSetting(const IniFile& ini, const DialogSetting& setting, std::int32_t current) {
  return ini.ReadInteger(setting.section, setting.key, ReadDefault(setting, current));
}
Text ReadSetting(const IniFile& ini, const DialogSetting& setting, const Text& current) {
  return ini.ReadString(setting.section, setting.key, ReadDefault(setting, current));
}

void WriteSetting(IniFile& ini, const DialogSetting& setting, bool value) {
  ini.WriteBool(setting.section, setting.key, value);
}
void WriteSetting(IniFile& ini, const DialogSetting& setting, std::int32_t value) {
  ini.WriteInteger(setting.section, setting.key, value);
}
void WriteSetting(IniFile& ini, const DialogSetting& setting, const Text& value) {
  ini.WriteString(setting.section, setting.key, value);
}

}  // namespace

Text GetSpecialFolder(SettingsFiles& files, unsigned index) {
  if (index >= std::size(kSpecialFolders)) return {};
  Text path = files.SpecialFolder(kSpecialFolders[index]).value_or(Text());
  while (!path.empty() && path.back() == u'\\') path.pop_back();
  return path;
}

bool PrepareDataFolder(SettingsFiles& files, TextView name, bool allUsers, Text& folder) {
  const Text base = GetSpecialFolder(files, allUsers ? 3 : 1);
  if (base.empty()) return false;  // never a folder relative to wherever we run
  Text path = base + u"\\Orvane";
  if (!files.DirectoryExists(path)) files.MakeDirectory(path);
  path += u'\\';
  path += name;
  if (!files.DirectoryExists(path)) files.MakeDirectory(path);
  folder = path + u'\\';
  return files.DirectoryExists(path);
}

Text OpenErrorText(const Text& path, const Text& reason) {
  return u"ファイル " + path + u" は開けません。 " + reason + u" ";
}

Text CreateErrorText(const Text& path, const Text& reason) {
  return u"ファイル \"" + path + u"\" を作成できません。" + reason;
}

SettingsStorage::SettingsStorage(SettingsFiles& files, CodePage& ansi, Text dataFolder)
    : files_(files), ansi_(ansi), dataFolder_(std::move(dataFolder)) {}

DecodedText SettingsStorage::ReadText(const Text& path) {
  if (!files_.FileExists(path)) return {};
  std::string bytes;
  std::uint32_t error = 0;
  if (!files_.ReadWholeFile(path, bytes, error)) throw Exception(OpenErrorText(path, files_.ErrorText(error)));
  return DecodeByMark(bytes, ansi_);
}

void SettingsStorage::Write(const Text& path, const std::string& bytes) {
  std::uint32_t error = 0;
  if (!files_.ReplaceFileAtomically(path, bytes, error)) throw Exception(CreateErrorText(path, files_.ErrorText(error)));
}

void SettingsStorage::LoadSettings(TSettings& s) {
  s.DisabledPrograms.clear();
  const Text listPath = ListPath();
  if (files_.FileExists(listPath)) s.DisabledPrograms = SplitLines(ReadText(listPath).text);

  const DecodedText iniText = ReadText(IniPath());
  const IniFile ini(iniText.text);
  AppendLegacyList(ini, iniText.text.size(), s.DisabledPrograms);

  for (const DialogSetting& setting : kDialogSettings) {
    std::visit([&](auto field) { s.*field = ReadSetting(ini, setting, s.*field); }, setting.field);
  }
}

void SettingsStorage::SaveSettings(const TSettings& s) {
  Text list;
  for (const auto& entry : s.DisabledPrograms) {
    list += entry;
    list += u"\r\n";
  }
  Write(ListPath(), EncodeWithMark(list, FileEncoding::Utf16LE, ansi_));

  // The existing file is read by its mark, so that a file only the display
  // preferences have written so far (ANSI, no mark) keeps its content.
  const Text iniPath = IniPath();
  IniFile ini(ReadText(iniPath).text);
  ini.WriteInteger(u"Disable", u"Count", -1);
  for (const DialogSetting& setting : kDialogSettings) {
    std::visit([&](auto field) { WriteSetting(ini, setting, s.*field); }, setting.field);
  }
  Write(iniPath, EncodeWithMark(ini.Serialize(), FileEncoding::Utf16LE, ansi_));
}

void SettingsStorage::LoadPrefs(TSettings& s) {
  const IniFile ini(ReadText(IniPath()).text);
  s.SetDispBack(ini.ReadBool(u"Disp", u"Back", s.DispBack));
  s.SetDispFront(ini.ReadBool(u"Disp", u"Front", s.DispFront));
  s.DispIME = ini.ReadBool(u"Disp", u"IME", s.DispIME);
  s.DispDate = ini.ReadBool(u"Disp", u"Date", s.DispDate);
  s.DispTime = ini.ReadBool(u"Disp", u"Time", s.DispTime);
  s.DispCPU = ini.ReadBool(u"Disp", u"CPU", s.DispCPU);
  s.DispCPUCore = ini.ReadBool(u"Disp", u"CPUCore", s.DispCPUCore);
  s.DispRAM = ini.ReadBool(u"Disp", u"RAM", s.DispRAM);
  s.DispAnime = ini.ReadBool(u"Disp", u"Anime", s.DispAnime);
  s.DispTrayIcon = ini.ReadBool(u"Disp", u"TrayIcon", s.DispTrayIcon);
}

void SettingsStorage::SavePrefs(const TSettings& s) {
  const Text iniPath = IniPath();
  const DecodedText read = ReadText(iniPath);
  IniFile ini(read.text);
  ini.WriteBool(u"Disp", u"Back", s.DispBack);
  ini.WriteBool(u"Disp", u"Front", s.DispFront);
  ini.WriteBool(u"Disp", u"IME", s.DispIME);
  ini.WriteBool(u"Disp", u"Date", s.DispDate);
  ini.WriteBool(u"Disp", u"Time", s.DispTime);
  ini.WriteBool(u"Disp", u"CPU", s.DispCPU);
  ini.WriteBool(u"Disp", u"CPUCore", s.DispCPUCore);
  ini.WriteBool(u"Disp", u"RAM", s.DispRAM);
  ini.WriteBool(u"Disp", u"Anime", s.DispAnime);
  ini.WriteBool(u"Disp", u"TrayIcon", s.DispTrayIcon);
  Write(iniPath, EncodeWithMark(ini.Serialize(), read.encoding, ansi_));
}

}  // namespace velmora
