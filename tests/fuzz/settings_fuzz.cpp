// Fuzz target for the settings readers: whatever bytes stand in
// "Velmora.ini" or "Disable.log", loading must not crash or blow up, and
// what a save writes must read back to the same content.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ini_file.h"
#include "core/settings_storage.h"
#include "core/text_encoding.h"
#include "fakes.h"

using namespace velmora;

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  FakeCodePage ansi;

  // The INI engine: parse, write, parse again - the second write is the same.
  const DecodedText decoded = DecodeByMark(bytes, ansi);
  const IniFile ini(decoded.text);
  const Text written = ini.Serialize();
  const IniFile again(written);
  Check(again.Serialize() == written);

  // The list file: lines joined with CR LF split back into the same lines,
  // as long as no entry itself holds a line break.
  const std::vector<Text> lines = SplitLines(decoded.text);
  Text joined;
  for (const auto& l : lines) joined += l + u"\r\n";
  Check(SplitLines(joined) == lines);

  // Both files through the storage, then a save and a load round trip.
  FakeFiles files;
  const Text folder = u"C:\\Data\\";
  files.files[folder + kIniFileName] = bytes;
  files.files[folder + kListFileName] = bytes;
  SettingsStorage storage(files, ansi, folder);
  TSettings settings;
  storage.LoadPrefs(settings);
  storage.LoadSettings(settings);
  // The legacy entries: the keys that are there, empty entries for missing
  // ones (at most one per character of the file) and one after the last.
  Check(settings.DisabledPrograms.size() <= lines.size() + ini.EntryCount(u"Disable") + decoded.text.size() + 1);
  storage.SaveSettings(settings);
  storage.SavePrefs(settings);
  TSettings reloaded = settings;
  storage.LoadSettings(reloaded);
  storage.LoadPrefs(reloaded);
  Check(reloaded.FormatDate == settings.FormatDate && reloaded.RAMExe == settings.RAMExe &&
        reloaded.DispBack == settings.DispBack && reloaded.DispFront == settings.DispFront);
  return 0;
}
