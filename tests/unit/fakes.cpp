#include "fakes.h"

#include "core/errors.h"

#include <utility>

namespace velmora {

FakeWindow* FakeWindowManager::Find(WindowHandle w) {
  if (w != 0 && w == doomed && callsBeforeDestroyed >= 0 && doomedCalls++ >= callsBeforeDestroyed) {
    windows.erase(w);
  }
  const auto it = windows.find(w);
  return it == windows.end() ? nullptr : &it->second;
}

std::optional<Text> FakeWindowManager::WindowTitle(WindowHandle w) {
  log.push_back("get " + std::to_string(w));
  const auto* f = Find(w);
  if (!f || f->unreadable) return std::nullopt;
  return Text(UpToNul(f->title));
}

bool FakeWindowManager::WriteWindowText(WindowHandle w, const Text& text) {
  log.push_back("set " + std::to_string(w) + " " + ToUtf8(text));
  auto* f = Find(w);
  if (!f) return false;
  if (f->hung) {
    f->late.push_back(text);
    return false;
  }
  f->title = f->titleLimit ? text.substr(0, f->titleLimit) : text;
  return true;
}

Text FakeWindowManager::ClassName(WindowHandle w, int bufferUnits) {
  ++classQueries;
  const auto* f = Find(w);
  if (!f) return {};
  Text t = f->className;
  if (t.size() > static_cast<size_t>(bufferUnits - 1)) t.resize(static_cast<size_t>(bufferUnits - 1));
  return t;
}

std::uint32_t FakeWindowManager::WindowStyle(WindowHandle w) {
  ++styleQueries;
  const auto* f = Find(w);
  if (!f) return 0;
  return (f->visible ? kStyleVisible : 0) | (f->iconic ? kStyleMinimize : 0) | (f->zoomed ? kStyleMaximize : 0);
}

bool FakeWindowManager::GetWindowRect(WindowHandle w, Rect& out) {
  const auto* f = Find(w);
  if (!f) return false;
  out = f->rect;
  return true;
}

std::uint32_t FakeWindowManager::WindowProcessId(WindowHandle w) {
  ++processIdQueries;
  const auto* f = Find(w);
  return f ? f->pid : 0;
}

bool FakeWindowManager::MonitorFromPoint(std::int32_t x, std::int32_t y) {
  monitorQueries.emplace_back(x, y);
  for (const auto& m : monitors)
    if (x >= m.left && x < m.right && y >= m.top && y < m.bottom) return true;
  return false;
}

Text FakeProcessApi::MainModuleFileName(std::uint32_t pid) {
  ++moduleQueries;
  const auto it = moduleNames.find(pid);
  return it == moduleNames.end() ? Text{} : it->second;
}

Text FakeProcessApi::ImageFileName(std::uint32_t pid) {
  const auto it = imageNames.find(pid);
  return it == imageNames.end() ? Text{} : it->second;
}

Text FakeProcessApi::DosDeviceName(char16_t letter) {
  const auto it = dosDevices.find(letter);
  return it == dosDevices.end() ? Text{} : it->second;
}

WindowHandle FakeProbes::DefaultImeWindow(WindowHandle w) {
  imeAsked.push_back(w);
  const auto it = imeWindows.find(w);
  return it == imeWindows.end() ? 0 : it->second;
}

SendResult FakeProbes::QueryImeOpenStatus(WindowHandle imeWindow, std::intptr_t& answer) {
  if (imeBusy.count(imeWindow)) return SendResult::NoAnswer;
  const auto it = imeAnswers.find(imeWindow);
  if (imeWindow == 0 || it == imeAnswers.end()) return SendResult::Failed;
  answer = it->second;
  return SendResult::Answered;
}

void FakeCpu::UpdateCPUCoreUsage() {
  ++coreUpdates;
  for (size_t i = 0; i < nextCoreValues.size() && i < counters.size(); ++i)
    counters[i].CPU = nextCoreValues[i];
}

void RecordingActions::ApplyMemoryTrigger(CycleState&, std::int32_t clampedLoad) {
  calls.push_back("ApplyMemoryTrigger");
  triggerLoads.push_back(clampedLoad);
  if (throwOnTrigger) throw Exception(u"notepad.exeを起動できません。");
}

std::uint32_t FakeDiskAndSound::SetProcessErrorMode(std::uint32_t mode) {
  log.push_back("mode " + std::to_string(mode));
  return std::exchange(errorMode, mode);
}

bool FakeDiskAndSound::DiskSpaceKnown(const Text& root) {
  log.push_back("disk " + ToUtf8(root));
  modeDuringQuery.push_back(errorMode);
  return root.size() == 3 && root.substr(1) == u":\\" && readyDrives.count(root[0]) != 0;
}

bool FakeDiskAndSound::FileExists(const Text& path) {
  log.push_back("exists " + ToUtf8(path));
  return files.count(path) != 0;
}

bool FakeDiskAndSound::PlayWaveFile(const Text& path, std::uint32_t flags) {
  log.push_back("play " + ToUtf8(path) + " " + std::to_string(flags));
  return true;
}

std::vector<std::string> FakeDiskAndSound::Played() const {
  std::vector<std::string> out;
  for (const auto& line : log)
    if (line.rfind("play ", 0) == 0) out.push_back(line);
  return out;
}

bool FakeLauncher::StartProcess(const Text& commandLine, const Text& currentFolder, std::uint16_t showCommand) {
  starts.push_back({commandLine, currentFolder, showCommand});
  return !fail;
}

std::optional<Text> FakeFiles::SpecialFolder(int csidl) {
  if (csidl == 0x1A) return appData;
  if (csidl == 0x23) return Text(u"C:\\ProgramData");
  return std::nullopt;
}

void FakeFiles::MakeDirectory(const Text& path) {
  if (uncreatable.count(path) == 0) dirs.insert(path);
}

bool FakeFiles::ReadWholeFile(const Text& path, std::string& bytes, std::uint32_t& error) {
  if (unreadable.count(path)) {
    error = 32;
    return false;
  }
  bytes = files.at(path);
  return true;
}

bool FakeFiles::ReplaceFileAtomically(const Text& path, const std::string& bytes, std::uint32_t& error) {
  if (unwritable.count(path)) {
    error = 5;
    return false;
  }
  ++writes;
  files[path] = bytes;
  return true;
}

Text FakeFiles::ErrorText(std::uint32_t error) {
  return error == 5 ? u"アクセスが拒否されました" : u"error " + DecimalText(error);
}

Text FakeCodePage::Decode(std::string_view bytes) {
  Text out;
  for (const char c : bytes) out.push_back(static_cast<unsigned char>(c));
  return out;
}

std::string FakeCodePage::Encode(TextView text) {
  std::string out;
  for (const char16_t c : text) out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  return out;
}

std::string Utf16File(std::u16string_view text) {
  std::string out = "\xFF\xFE";
  for (const char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

DayNames JapaneseDayNames() { return {u"日", u"月", u"火", u"水", u"木", u"金", u"土"}; }

}  // namespace velmora
