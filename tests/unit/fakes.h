// Fakes of the platform seams: a small scripted desktop.
#pragma once

#include <map>
#include <set>
#include <ostream>
#include <string>
#include <vector>

#include "core/decoration_cycle.h"
#include "core/seams.h"
#include "core/settings_storage.h"
#include "core/text_encoding.h"

namespace velmora {

// Readable failure output for UTF-16 text.
inline void PrintTo(const Text& s, std::ostream* os) { *os << '"' << ToUtf8(s) << '"'; }

struct FakeWindow {
  Text title;
  Text className = u"Editor";
  bool visible = true;
  bool iconic = false;
  bool zoomed = false;
  Rect rect{100, 100, 500, 400};
  std::uint32_t pid = 0;
  // A window whose program does not answer: title writes time out and wait
  // in `late`, to arrive when it answers again (Answer()).
  bool hung = false;
  std::vector<Text> late;
  // A program that keeps only so many units of a title (0: no limit).
  size_t titleLimit = 0;
  // A title that cannot be read (too long, or the read fails).
  bool unreadable = false;
};

class FakeWindowManager : public WindowManager {
 public:
  std::map<WindowHandle, FakeWindow> windows;
  WindowHandle foreground = 0;
  WindowHandle focus = 0;
  std::vector<Rect> monitors{{0, 0, 1280, 1024}};
  std::vector<std::string> log;  // one line per call that changes or reads titles
  std::vector<std::pair<std::int32_t, std::int32_t>> monitorQueries;
  // The window `doomed` answers `callsBeforeDestroyed` calls on its handle,
  // then it is gone: a window destroyed part-way through a tick.
  WindowHandle doomed = 0;
  int callsBeforeDestroyed = -1;
  int doomedCalls = 0;
  int styleQueries = 0, classQueries = 0, processIdQueries = 0;

  WindowHandle Add(WindowHandle h, FakeWindow w) {
    windows[h] = std::move(w);
    return h;
  }
  const Text& Title(WindowHandle h) { return windows.at(h).title; }
  // The program answers again: the writes that timed out arrive in order.
  void Answer(WindowHandle h) {
    auto& f = windows.at(h);
    f.hung = false;
    for (auto& t : f.late) f.title = t;
    f.late.clear();
  }

  WindowHandle ForegroundWindow() override { return foreground; }
  std::optional<Text> WindowTitle(WindowHandle w) override;
  bool WriteWindowText(WindowHandle w, const Text& text) override;
  Text ClassName(WindowHandle w, int bufferUnits) override;
  std::uint32_t WindowStyle(WindowHandle w) override;
  bool GetWindowRect(WindowHandle w, Rect& out) override;
  std::uint32_t WindowProcessId(WindowHandle w) override;
  WindowHandle GuiThreadFocus() override { return focus; }
  bool MonitorFromPoint(std::int32_t x, std::int32_t y) override;

 private:
  FakeWindow* Find(WindowHandle w);
};

class FakeProcessApi : public ProcessApi {
 public:
  std::map<std::uint32_t, Text> moduleNames;  // missing: the query fails
  std::map<std::uint32_t, Text> imageNames;   // device form
  std::uint32_t drives = 0;
  std::map<char16_t, Text> dosDevices;
  int moduleQueries = 0;

  Text MainModuleFileName(std::uint32_t pid) override;
  Text ImageFileName(std::uint32_t pid) override;
  std::uint32_t LogicalDrives() override { return drives; }
  Text DosDeviceName(char16_t letter) override;
};

class FakeProbes : public SystemProbes {
 public:
  std::int32_t memoryLoad = 45;
  std::map<WindowHandle, WindowHandle> imeWindows;  // window -> IME window
  std::map<WindowHandle, std::intptr_t> imeAnswers;  // IME window -> answer
  std::set<WindowHandle> imeBusy;                    // IME windows that answer too late
  std::vector<WindowHandle> imeAsked;

  std::int32_t MemoryStatusLoad() override { return memoryLoad; }
  WindowHandle DefaultImeWindow(WindowHandle w) override;
  SendResult QueryImeOpenStatus(WindowHandle imeWindow, std::intptr_t& answer) override;
};

class FakeClock : public Clock {
 public:
  LocalTime now{2024, 1, 15, 1, 13, 5, 9, 0};  // Monday
  int reads = 0;
  std::vector<std::uint32_t> sleeps;
  LocalTime Now() override {
    ++reads;
    return now;
  }
  void Sleep(std::uint32_t ms) override { sleeps.push_back(ms); }
};

class FakeCpu : public CpuSampler {
 public:
  std::int32_t total = 12;
  std::vector<TCPUCounter> counters;
  bool failed = true;
  int totalReads = 0, coreUpdates = 0;
  std::vector<std::int32_t> nextCoreValues;  // applied on update when set

  std::int32_t GetCPUUsage() override {
    ++totalReads;
    return total;
  }
  void UpdateCPUCoreUsage() override;
  const std::vector<TCPUCounter>& CPUCounters() const override { return counters; }
  bool CPUCoreFailed() const override { return failed; }
};

class RecordingActions : public CycleActions {
 public:
  std::vector<std::string> calls;
  std::vector<std::int32_t> triggerLoads;
  bool throwOnTrigger = false;
  void ApplyMemoryTrigger(CycleState& state, std::int32_t clampedLoad) override;
  void CheckAlerts(CycleState&) override { calls.push_back("CheckAlerts"); }
  void BlinkTitle(CycleState&, WindowHandle w) override {
    calls.push_back("BlinkTitle " + std::to_string(w));
  }
};

// Drives, files and a sound device, with every call logged.
class FakeDiskAndSound : public DiskAndSound {
 public:
  std::uint32_t errorMode = 0x8000;  // the mode in force
  std::set<char16_t> readyDrives{u'C'};
  std::set<Text> files;
  std::vector<std::string> log;  // "mode N", "disk X:\\", "exists P", "play P flags"
  std::vector<std::uint32_t> modeDuringQuery;

  std::uint32_t SetProcessErrorMode(std::uint32_t mode) override;
  bool DiskSpaceKnown(const Text& root) override;
  bool FileExists(const Text& path) override;
  bool PlayWaveFile(const Text& path, std::uint32_t flags) override;
  std::vector<std::string> Played() const;
};

class FakeLauncher : public ProcessLauncher {
 public:
  struct Start {
    Text commandLine, folder;
    std::uint16_t show;
  };
  std::vector<Start> starts;  // every attempt, failed ones too
  bool fail = false;
  bool StartProcess(const Text& commandLine, const Text& currentFolder, std::uint16_t showCommand) override;
};

// An in-memory file system.
class FakeFiles : public SettingsFiles {
 public:
  std::optional<Text> appData = Text(u"C:\\Users\\u\\AppData\\Roaming");
  std::set<Text> dirs;
  std::map<Text, std::string> files;
  std::set<Text> unreadable, unwritable, uncreatable;
  int writes = 0;

  std::optional<Text> SpecialFolder(int csidl) override;
  bool DirectoryExists(const Text& path) override { return dirs.count(path) != 0; }
  void MakeDirectory(const Text& path) override;
  bool FileExists(const Text& path) override { return files.count(path) != 0; }
  bool ReadWholeFile(const Text& path, std::string& bytes, std::uint32_t& error) override;
  bool ReplaceFileAtomically(const Text& path, const std::string& bytes, std::uint32_t& error) override;
  Text ErrorText(std::uint32_t error) override;
};

// Latin-1 stands in for the system code page: one byte a character.
class FakeCodePage : public CodePage {
 public:
  bool utf8 = false;
  Text Decode(std::string_view bytes) override;
  std::string Encode(TextView text) override;
  bool IsUtf8() override { return utf8; }
};

// UTF-16LE bytes with FF FE, for expected file contents.
std::string Utf16File(std::u16string_view text);

// Japanese abbreviated day names, Sunday first.
DayNames JapaneseDayNames();

// One decoration cycle wired to a fake of every seam; the fixtures fill in
// the desktop.
struct CycleOnFakes {
  TSettings settings;
  FakeWindowManager wm;
  FakeProcessApi processes;
  FakeProbes probes;
  FakeCpu cpu;
  FakeClock clock;
  RecordingActions actions;
  DecorationCycle cycle{settings, {wm, processes, probes, cpu, clock, actions}, JapaneseDayNames()};
};

}  // namespace velmora
