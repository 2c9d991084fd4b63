// A window showing TNumberEdit in its looks: the alignments, marks, a
// selection, a disabled and a read-only field, a bold font. Used for the
// screenshot in docs/. Arguments: a file to create once the window has been
// painted, and the row to focus (3, the selected one, unless told).
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "win32/number_edit.h"
#include "win32/unique_handle.h"

namespace {

using velmora::TAlignment;
using velmora::TVertAlignment;
using velmora::win32::TColor;
using velmora::win32::TNumberEdit;

constexpr wchar_t kClass[] = L"VelmoraNumberEditDemo";
constexpr UINT kPainted = WM_APP + 1;

struct FontCloser {
  void operator()(HFONT f) const noexcept { ::DeleteObject(f); }
};
using UniqueFont = velmora::win32::UniqueHandle<HFONT, FontCloser>;

UniqueFont MakeFont(int height, int weight) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpyW(lf.lfFaceName, L"MS UI Gothic");
  return UniqueFont(::CreateFontIndirectW(&lf));
}

struct Demo {
  HWND hwnd = nullptr;
  UniqueFont font = MakeFont(-12, FW_NORMAL);
  UniqueFont bold = MakeFont(-16, FW_BOLD);
  std::vector<std::unique_ptr<TNumberEdit>> fields;
  std::wstring readyFile;

  TNumberEdit& Row(int row, const wchar_t* label, const char16_t* text, int height = 0) {
    const int y = 14 + row * 30;
    const HWND l = ::CreateWindowExW(0, L"STATIC", label, WS_CHILD | WS_VISIBLE, 14, y + 3, 150, 16, hwnd,
                                     nullptr, nullptr, nullptr);
    ::SendMessageW(l, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    auto f = std::make_unique<TNumberEdit>();
    f->SetFont(font.get());
    f->Create(hwnd, 100 + row, 170, y, 150);
    if (height) {
      f->SetAutoSize(false);
      ::SetWindowPos(f->Handle(), nullptr, 0, 0, 150, height, SWP_NOMOVE | SWP_NOZORDER);
    }
    f->SetText(text);
    fields.push_back(std::move(f));
    return *fields.back();
  }

  void Build() {
    Row(0, L"右寄せ（既定）", u"-1234567.5");
    Row(1, L"中央揃え", u"65535").SetAlignment(TAlignment::taCenter);
    TNumberEdit& yen = Row(2, L"左寄せ・記号", u"1500");
    yen.SetAlignment(TAlignment::taLeftJustify);
    yen.SetLeftMark(u"￥");
    yen.SetRightMark(u" 円");
    Row(3, L"選択中", u"2048");
    TNumberEdit& disabled = Row(4, L"無効", u"4096");
    disabled.SetEnabled(false);
    TNumberEdit& fixed = Row(5, L"太字・小数固定", u"12.5");
    fixed.SetFont(bold.get());
    fixed.SetDecimalFixed(true);
    TNumberEdit& readOnly = Row(6, L"読み取り専用（設定画面）", u"60");
    readOnly.SetReadOnly(true);
    readOnly.SetColor(TColor::System(COLOR_BTNFACE));
    TNumberEdit& top = Row(7, L"上揃え・左", u"7", 26);
    top.SetAlignment(TAlignment::taLeftJustify);
    top.SetVertAlignment(TVertAlignment::taTopJustify);
    TNumberEdit& bottom = Row(8, L"下揃え・右", u"-0.25", 26);
    bottom.SetVertAlignment(TVertAlignment::taBottomJustify);
  }
};

LRESULT CALLBACK DemoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* demo = reinterpret_cast<Demo*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE:
      demo = static_cast<Demo*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      demo->hwnd = hwnd;
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(demo));
      break;
    case kPainted:
      if (demo && !demo->readyFile.empty()) {
        velmora::win32::UniqueKernelHandle file(::CreateFileW(demo->readyFile.c_str(), GENERIC_WRITE, 0, nullptr,
                                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
      }
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  Demo demo;
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (argv && argc > 1) demo.readyFile = argv[1];
  const int focusRow = argv && argc > 2 ? _wtoi(argv[2]) : 3;
  ::LocalFree(argv);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DemoProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClass;
  ::RegisterClassExW(&wc);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION;  // no caption buttons: Wine draws them with a font it may lack
  RECT r{0, 0, 340, 14 + 9 * 30 + 8};
  ::AdjustWindowRectEx(&r, style, FALSE, 0);
  ::CreateWindowExW(0, kClass, L"TNumberEdit", style, 24, 24, r.right - r.left, r.bottom - r.top, nullptr,
                    nullptr, instance, &demo);
  if (!demo.hwnd) return 1;
  demo.Build();
  ::ShowWindow(demo.hwnd, SW_SHOW);
  if (focusRow >= 0 && focusRow < static_cast<int>(demo.fields.size())) {
    ::SetFocus(demo.fields[focusRow]->Handle());  // entering selects everything
  }
  ::RedrawWindow(demo.hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  ::PostMessageW(demo.hwnd, kPainted, 0, 0);
  MSG m;
  while (::GetMessageW(&m, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&m);
    ::DispatchMessageW(&m);
  }
  demo.fields.clear();
  return 0;
}
