// A window to decorate, staged as a test asks: velmora_testwin.exe TITLE
// [normal|hidden|minimized|maximized|offscreen|dialog|hold PATH|hold-read PATH|cap N]; "dialog" is a standard
// dialog box of class "#32770"; "cap N" keeps only the first N units of any
// title it is given, as programs with a fixed title buffer do. Posted messages move
// it to the front, minimise it, make it stop answering messages, or show a
// message box captioned with its current title.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "test_window_protocol.h"

namespace {

size_t g_titleCap = 0;  // 0: titles are kept whole

// With VELMORA_TITLE_LOG set, every title the window is given is written to
// that file (UTF-8, the latest only), so that a test outside Wine's desktop
// can read it.
void LogTitle(HWND hwnd) {
  wchar_t path[MAX_PATH] = {};
  if (!::GetEnvironmentVariableW(L"VELMORA_TITLE_LOG", path, MAX_PATH)) return;
  wchar_t title[1024] = {};
  const int n = ::GetWindowTextW(hwnd, title, 1024);
  char utf8[4096] = {};
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, title, n, utf8, sizeof utf8, nullptr, nullptr);
  const std::wstring temp = std::wstring(path) + L".tmp";
  const HANDLE file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, utf8, static_cast<DWORD>(bytes), &written, nullptr);
  ::CloseHandle(file);
  ::MoveFileExW(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING);
}

// With VELMORA_TITLE_HISTORY set, every title the window is given is added
// to that file as a line "<milliseconds>|<title>" (UTF-8; the time from a
// clock of this process), so that a test sees titles that stood only for a
// moment, and for how long.
void AddToTitleHistory(HWND hwnd) {
  wchar_t path[MAX_PATH] = {};
  if (!::GetEnvironmentVariableW(L"VELMORA_TITLE_HISTORY", path, MAX_PATH)) return;
  LARGE_INTEGER now{}, frequency{};
  ::QueryPerformanceCounter(&now);
  ::QueryPerformanceFrequency(&frequency);
  const double ms = static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
  const int length = ::GetWindowTextLengthW(hwnd);
  std::wstring title(static_cast<size_t>(length) + 1, L'\0');
  title.resize(static_cast<size_t>(::GetWindowTextW(hwnd, title.data(), length + 1)));
  std::string line(64, '\0');
  line.resize(static_cast<size_t>(std::snprintf(line.data(), line.size(), "%.3f|", ms)));
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, title.data(), static_cast<int>(title.size()), nullptr, 0,
                                          nullptr, nullptr);
  const size_t at = line.size();
  line.resize(at + static_cast<size_t>(bytes));
  ::WideCharToMultiByte(CP_UTF8, 0, title.data(), static_cast<int>(title.size()), line.data() + at, bytes, nullptr,
                        nullptr);
  line += "\n";
  const HANDLE file = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(file);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case velmora::testwin::kActivate:  // as it is: a minimised window stays minimised
      ::SetForegroundWindow(hwnd);
      ::SetActiveWindow(hwnd);
      return 0;
    case velmora::testwin::kHang:
      // Stop answering for as long as asked (the test ends us earlier).
      ::Sleep(static_cast<DWORD>(wParam));
      return 0;
    case velmora::testwin::kMinimize:
      ::ShowWindow(hwnd, SW_MINIMIZE);
      return 0;
    case velmora::testwin::kCaptionBox: {
      wchar_t caption[1024] = {};
      ::GetWindowTextW(hwnd, caption, 1024);
      ::MessageBoxW(hwnd, L"Saved.", caption, MB_OK);
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    case WM_SETTEXT: {
      std::wstring cut;
      if (g_titleCap && lParam) {
        cut = reinterpret_cast<const wchar_t*>(lParam);
        if (cut.size() > g_titleCap) {
          cut.resize(g_titleCap);
          lParam = reinterpret_cast<LPARAM>(cut.c_str());
        }
      }
      const LRESULT r = ::DefWindowProcW(hwnd, msg, wParam, lParam);
      LogTitle(hwnd);
      AddToTitleHistory(hwnd);
      return r;
    }
    default:
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM, LPARAM) {
  if (msg == velmora::testwin::kActivate) {
    ::SetForegroundWindow(hwnd);
    return TRUE;
  }
  if (msg == WM_CLOSE) {
    ::PostQuitMessage(0);
    return TRUE;
  }
  return msg == WM_INITDIALOG ? TRUE : FALSE;
}

// A standard dialog box (class "#32770") from an in-memory template.
HWND CreateStandardDialog(HINSTANCE instance, const std::wstring& title) {
  struct alignas(4) {
    DLGTEMPLATE header;
    WORD menu, windowClass, caption;
  } tmpl{};
  tmpl.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  tmpl.header.cx = 200;
  tmpl.header.cy = 80;
  HWND dialog = ::CreateDialogIndirectParamW(instance, &tmpl.header, nullptr, DialogProc, 0);
  if (dialog) {
    ::SetWindowPos(dialog, nullptr, 160, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(dialog, SW_SHOWNOACTIVATE);
    ::SetWindowTextW(dialog, title.c_str());  // the title last: the tests wait for it
  }
  return dialog;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  const std::wstring title = argc > 1 ? argv[1] : L"Velmora test window";
  const std::wstring state = argc > 2 ? argv[2] : L"normal";
  const std::wstring path = argc > 3 ? argv[3] : L"";
  ::LocalFree(argv);

  if (state == L"cap") g_titleCap = static_cast<size_t>(_wtoi(path.c_str()));

  // "hold" / "hold-read": keeps PATH open, sharing nothing or reading only,
  // for as long as the window lives.
  HANDLE held = INVALID_HANDLE_VALUE;
  if (state == L"hold" || state == L"hold-read") {
    held = ::CreateFileW(path.c_str(), GENERIC_READ, state == L"hold" ? 0 : FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) return 3;
  }

  if (state == L"dialog") {
    if (!CreateStandardDialog(instance, title)) return 2;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    return 0;
  }

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = velmora::testwin::kClassName;
  ::RegisterClassExW(&wc);

  int x = 120, y = 120;
  if (state == L"offscreen") x = y = 5000;
  HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"(staging)", WS_OVERLAPPEDWINDOW, x, y, 420, 260,
                                nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 2;
  if (state == L"hidden") {
    // stays hidden
  } else if (state == L"minimized") {
    ::ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
  } else if (state == L"maximized") {
    ::ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    ::SetWindowPos(hwnd, nullptr, 5000, 5000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  }
  ::SetWindowTextW(hwnd, title.c_str());  // the title last: the tests wait for it

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);
  return 0;
}
