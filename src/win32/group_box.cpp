#include "win32/group_box.h"

#include <iterator>

#include "win32/mnemonics.h"

namespace velmora::win32 {

namespace {

// A container with an etched frame and, when it has text, a caption on the
// top edge. What its controls report goes on to the form.
LRESULT CALLBACK GroupBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_GETFONT:
      return ::SendMessageW(::GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
    case WM_GETDLGCODE:
      return DLGC_WANTTAB;  // asked only while the group itself has the focus
    case WM_KEYDOWN:
      if (wParam == VK_TAB) {
        // Tab from the group enters it; Shift+Tab leaves it backwards.
        const HWND root = ::GetAncestor(hwnd, GA_ROOT);
        const HWND next = ::GetKeyState(VK_SHIFT) < 0 ? ::GetNextDlgTabItem(root, hwnd, TRUE) : FirstTabStopIn(hwnd);
        if (next) ::SendMessageW(root, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
        return 0;
      }
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_SETTEXT: {
      const LRESULT r = ::DefWindowProcW(hwnd, msg, wParam, lParam);
      ::InvalidateRect(hwnd, nullptr, TRUE);
      return r;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = ::BeginPaint(hwnd, &ps);
      const auto font = reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
      const HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
      TEXTMETRICW tm{};
      ::GetTextMetricsW(dc, &tm);
      RECT frame{};
      ::GetClientRect(hwnd, &frame);
      frame.top += tm.tmHeight / 2;
      ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
      wchar_t caption[128] = {};
      const int n = ::GetWindowTextW(hwnd, caption, static_cast<int>(std::size(caption)));
      if (n > 0) {
        RECT text{0, 0, 0, 0};
        ::DrawTextW(dc, caption, n, &text, DT_SINGLELINE | DT_CALCRECT);
        const int left = tm.tmAveCharWidth + tm.tmHeight / 2;
        ::OffsetRect(&text, left, 0);
        RECT back = text;
        back.left -= 2;
        back.right += 2;
        ::FillRect(dc, &back, ::GetSysColorBrush(COLOR_BTNFACE));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(::IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        ::DrawTextW(dc, caption, n, &text, DT_SINGLELINE);
      }
      if (old) ::SelectObject(dc, old);
      ::EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

bool RegisterGroupBoxClass(HINSTANCE instance) {
  WNDCLASSEXW group{};
  group.cbSize = sizeof(group);
  group.style = CS_HREDRAW | CS_VREDRAW;
  group.lpfnWndProc = &GroupBoxProc;
  group.hInstance = instance;
  group.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  group.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  group.lpszClassName = kGroupBoxClass;
  return ::RegisterClassExW(&group) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreateGroupBox(HINSTANCE instance, HWND parent, int id, const wchar_t* caption) {
  return ::CreateWindowExW(WS_EX_CONTROLPARENT, kGroupBoxClass, caption,
                           WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace velmora::win32
