// The work one tick does, piece by piece, against the fake desktop; and the
// settings file and the numeric field's text functions beside it.
#include <benchmark/benchmark.h>

#include "core/decoration_cycle.h"
#include "core/ini_file.h"
#include "core/number_edit_model.h"
#include "core/settings_storage.h"
#include "core/title_tag.h"
#include "fakes.h"

namespace velmora {
namespace {

constexpr WindowHandle kMain = 1000, kEditor = 1;

// A desktop with Velmora's hidden window and one decorated editor in front,
// default settings, two processors.
struct Desktop : CycleOnFakes {
  Desktop() {
    wm.Add(kMain, {.title = u"Velmora", .visible = false, .pid = 1});
    wm.Add(kEditor, {.title = u"無題 - メモ帳", .pid = 10});
    wm.foreground = kEditor;
    processes.moduleNames = {{1, u"C:\\Program Files\\Velmora\\Velmora.exe"},
                             {10, u"C:\\Windows\\System32\\notepad.exe"}};
    cpu.failed = false;
    cpu.counters = {{u"0", 0, 20}, {u"1", 0, 5}, {u"_Total", 0, 12}};
    settings.DisabledPrograms = {u"C:\\Games\\Game.exe", u"D:\\Tools\\Capture.exe", u"C:\\Apps\\Player.exe"};
    cycle.State().MhWndOld = kMain;
    cycle.Tick();  // the editor carries the tag from here on
  }
};

void BM_ComposeTag(benchmark::State& state) {
  Desktop d;
  const Text cpu = CpuText(12, false), core = CoreText({20, 5}, false), ram = RamText(45, false);
  for (auto _ : state) benchmark::DoNotOptimize(d.cycle.ComposeTag(cpu, core, ram));
}
BENCHMARK(BM_ComposeTag);

void BM_GetStrippedTitle(benchmark::State& state) {
  Desktop d;
  for (auto _ : state) {
    benchmark::DoNotOptimize(d.cycle.Titles().GetStrippedTitle(kEditor));
  }
}
BENCHMARK(BM_GetStrippedTitle);

// A window in front whose title holds none of our tags (a new window in
// front, or one that is not decorated): every tag of ours is looked for.
void BM_GetStrippedTitleWithoutTag(benchmark::State& state) {
  Desktop d;
  for (int s = 0; s < 12; ++s) {  // a full history of earlier tags
    d.clock.now.second = s;
    d.cycle.Tick();
  }
  d.wm.windows.at(kEditor).title = u"無題 - メモ帳";
  for (auto _ : state) benchmark::DoNotOptimize(d.cycle.Titles().GetStrippedTitle(kEditor));
}
BENCHMARK(BM_GetStrippedTitleWithoutTag);

void BM_Tick(benchmark::State& state) {
  Desktop d;
  for (auto _ : state) {
    d.clock.now.second = (d.clock.now.second + 1) % 60;  // a new tag every time, as in real use
    d.cycle.Tick();
    d.wm.log.clear();
    d.actions.calls.clear();
  }
}
BENCHMARK(BM_Tick);

// A settings file as a user who set every page of the dialog has it.
const char16_t kSettingsFile[] =
    u"[Disable]\r\nCount=-1\r\nDialog=0\r\n\r\n"
    u"[Format]\r\nDate=1\r\nTime=0\r\nName=0\r\nUpdate=1\r\n\r\n"
    u"[Whistle]\r\nEnable=1\r\nTime=10\r\nWavEnable=1\r\nWavFile=C:\\Users\\山田\\Music\\whistle.wav\r\n\r\n"
    u"[Alarm]\r\nEnable=1\r\nTime=20\r\nHour=7\r\nMin=30\r\nWavEnabled=1\r\n"
    u"WavFile=C:\\Users\\山田\\Music\\アラーム.wav\r\n\r\n"
    u"[RAM]\r\nEnable=1\r\nUse=90\r\nExe=\"C:\\Program Files\\Cleaner\\cleaner.exe\" /quiet\r\n\r\n"
    u"[Disp]\r\nBack=1\r\nFront=0\r\nIME=1\r\nDate=1\r\nTime=1\r\nCPU=1\r\nCPUCore=1\r\nRAM=1\r\nAnime=0\r\n"
    u"TrayIcon=0\r\n\r\n";

void BM_IniParse(benchmark::State& state) {
  const Text content = kSettingsFile;
  for (auto _ : state) {
    IniFile ini(content);
    benchmark::DoNotOptimize(ini.ReadInteger(u"Alarm", u"Min", 0));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * content.size() * sizeof(char16_t)));
}
BENCHMARK(BM_IniParse);

void BM_IniSerialize(benchmark::State& state) {
  const IniFile ini{Text(kSettingsFile)};
  for (auto _ : state) benchmark::DoNotOptimize(ini.Serialize());
}
BENCHMARK(BM_IniSerialize);

// An earlier version's settings file with a legacy list of `entries`
// programs in [Disable], read by LoadSettings: one pass over the section,
// not a search of it for every key.
void BM_LoadSettingsLegacyList(benchmark::State& state) {
  const auto entries = static_cast<int>(state.range(0));
  Text content = u"[Disable]\r\nCount=" + DecimalText(entries) + u"\r\nDialog=0\r\n";
  for (int k = 0; k < entries; ++k) content += DecimalText(k) + u"=program" + DecimalText(k) + u".exe\r\n";
  content += u"\r\n[Format]\r\nDate=1\r\n";
  const Text folder = u"C:\\Data\\";
  FakeFiles files;
  FakeCodePage ansi;
  files.files[folder + kIniFileName] = Utf16File(content);
  SettingsStorage storage(files, ansi, folder);
  for (auto _ : state) {
    TSettings settings;
    storage.LoadSettings(settings);
    if (settings.DisabledPrograms.size() != static_cast<size_t>(entries) + 1) state.SkipWithError("wrong list");
  }
  state.SetItemsProcessed(state.iterations() * entries);
}
BENCHMARK(BM_LoadSettingsLegacyList)->Arg(1000)->Arg(200000);

NumberFormat FieldFormat() {
  NumberFormat f;
  f.IntegerLength = 9;
  f.DecimalLength = 3;
  f.DecimalFixed = true;
  f.LeftMark = Text(1, u'¥');
  return f;
}

void BM_FilterText(benchmark::State& state) {
  const NumberFormat f = FieldFormat();
  const Text pasted = u"-１２,３４５,６７８.９０１２ 円";  // full-width digits, separators, a unit
  for (auto _ : state) benchmark::DoNotOptimize(FilterText(pasted, f));
}
BENCHMARK(BM_FilterText);

void BM_FormatText(benchmark::State& state) {
  const NumberFormat f = FieldFormat();
  const Text value = u"-123456789.5";
  for (auto _ : state) benchmark::DoNotOptimize(FormatText(value, f));
}
BENCHMARK(BM_FormatText);

}  // namespace
}  // namespace velmora

BENCHMARK_MAIN();
