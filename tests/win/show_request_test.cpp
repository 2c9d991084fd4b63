// A second start of Velmora.exe seen from a stand-in first instance: this
// test holds the instance mutex and owns the window the request goes to.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support.h"

namespace velmora::testing {
namespace {

// What the stand-in main window received.
struct Received {
  int count = 0;
  std::vector<unsigned char> bytes;
  ULONG_PTR dwData = 0;
  DWORD cbData = 0;
  DWORD senderPid = 0;
  bool senderHadMainForm = false;
};

Received* g_received = nullptr;

BOOL CALLBACK FindMainFormOf(HWND hwnd, LPARAM lParam) {
  auto* r = reinterpret_cast<Received*>(lParam);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[32] = {};
  ::GetClassNameW(hwnd, cls, 32);
  if (pid == r->senderPid && std::wstring(cls) == L"TMainForm") r->senderHadMainForm = true;
  return TRUE;
}

LRESULT CALLBACK StandInProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA && g_received) {
    Received& r = *g_received;
    ++r.count;
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    r.dwData = data->dwData;
    r.cbData = data->cbData;
    const auto* p = static_cast<const unsigned char*>(data->lpData);
    r.bytes.assign(p, p + data->cbData);
    // The sender is alive while it waits for this answer: look at its windows now.
    ::GetWindowThreadProcessId(reinterpret_cast<HWND>(wParam), &r.senderPid);
    ::EnumWindows(FindMainFormOf, reinterpret_cast<LPARAM>(&r));
    return 1;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

class StandInFirstInstance {
 public:
  StandInFirstInstance() {
    mutex_ = ::CreateMutexW(nullptr, FALSE, L"Velmora/Orvane");
    // Read at once: every call after it may set the last error anew.
    alreadyRunning_ = mutex_ && ::GetLastError() == ERROR_ALREADY_EXISTS;
    WNDCLASSW wc{};
    wc.lpfnWndProc = StandInProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TMainForm";
    ::RegisterClassW(&wc);
    window_ = ::CreateWindowExW(0, L"TMainForm", L"Velmora", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                wc.hInstance, nullptr);
  }
  ~StandInFirstInstance() {
    if (window_) ::DestroyWindow(window_);
    ::UnregisterClassW(L"TMainForm", ::GetModuleHandleW(nullptr));
    if (mutex_) ::CloseHandle(mutex_);
  }
  // A Velmora of this session holds the mutex already: the second start
  // would talk to it, not to us.
  bool Ready() const { return mutex_ && !alreadyRunning_ && window_; }
  HWND Window() const { return window_; }

 private:
  HANDLE mutex_ = nullptr;
  bool alreadyRunning_ = false;
  HWND window_ = nullptr;
};

// Waits for `process` to end while answering the messages sent to this
// thread's windows; false when it did not end in time.
bool PumpUntilExit(ChildProcess& process, DWORD& code) {
  const DWORD deadline = ::GetTickCount() + 30000;
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    if (process.WaitExit(0, code)) return true;
    if (static_cast<LONG>(::GetTickCount() - deadline) >= 0) return false;
    HANDLE h = process.Process();
    ::MsgWaitForMultipleObjects(1, &h, FALSE, 50, QS_ALLINPUT);
  }
}

struct StartCase {
  const wchar_t* args;
  ULONG_PTR argumentCount;
};

class SecondStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(SecondStart, SendsExactlyTheShowBytesAndEndsWithoutAForm) {
  StandInFirstInstance first;
  ASSERT_TRUE(first.Ready());
  Received received;
  g_received = &received;

  ChildProcess second(BinDir() + L"Velmora.exe", GetParam().args);
  ASSERT_TRUE(second.Started());
  DWORD code = 1234;
  ASSERT_TRUE(PumpUntilExit(second, code));
  g_received = nullptr;

  EXPECT_EQ(code, 0u);
  ASSERT_EQ(received.count, 1);
  const std::vector<unsigned char> show = {0x2F, 0, 0x53, 0, 0x68, 0, 0x6F, 0, 0x77, 0, 0, 0, 0, 0};
  EXPECT_EQ(received.cbData, 14u);
  EXPECT_EQ(received.bytes, show);
  EXPECT_EQ(received.dwData, GetParam().argumentCount);
  EXPECT_EQ(received.senderPid, second.Pid()) << "wParam is a window of the second start";
  EXPECT_FALSE(received.senderHadMainForm);
}

INSTANTIATE_TEST_SUITE_P(Arguments, SecondStart,
                         ::testing::Values(StartCase{L"", 0}, StartCase{L"one \"two words\"", 2}));

TEST(SecondStartWithoutWindow, EndsAtOnceWithoutSending) {
  // The mutex is held but no main window exists (a first instance still
  // starting or already ending).
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, L"Velmora/Orvane");
  ASSERT_NE(mutex, nullptr);
  ChildProcess second(BinDir() + L"Velmora.exe", L"");
  ASSERT_TRUE(second.Started());
  DWORD code = 1234;
  EXPECT_TRUE(second.WaitExit(30000, code));
  EXPECT_EQ(code, 0u);
  ::CloseHandle(mutex);
}

}  // namespace
}  // namespace velmora::testing
