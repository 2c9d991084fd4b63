#include "win32/number_edit.h"

#include <windowsx.h>
#include <imm.h>

#include <algorithm>
#include <cstring>

#include "win32/error_box.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"
#include "win32/window_proc.h"

namespace velmora::win32 {

namespace {

constexpr UINT kTextFlags = DT_SINGLELINE | DT_NOPREFIX;

struct GlobalFreeCloser {
  void operator()(HGLOBAL h) const noexcept { ::GlobalFree(h); }
};
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalFreeCloser>;

// The clipboard, open for as long as the object lives. Another program may
// hold it for a moment, so opening is tried a few times, briefly.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) {
    for (int attempt = 0; attempt < 5 && !open_; ++attempt) {
      if (attempt > 0) ::Sleep(10);
      open_ = ::OpenClipboard(owner) != FALSE;
    }
  }
  ~ClipboardSession() {
    if (open_) ::CloseClipboard();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
};

// A locked global memory block, unlocked when the object goes.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL h) : h_(h), data_(::GlobalLock(h)) {}
  ~GlobalLockGuard() {
    if (data_) ::GlobalUnlock(h_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  void* Data() const { return data_; }

 private:
  HGLOBAL h_;
  void* data_;
};

// A device context with a GDI object selected into it until the scope ends.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? ::SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (old_) ::SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
  ~PaintScope() { ::EndPaint(hwnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Dc() const { return dc_; }
  bool Erase() const { return ps_.fErase != FALSE; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

bool RegisterNumberEditClass(WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;  // no CS_HREDRAW / CS_VREDRAW: a resize repaints by itself
  wc.lpfnWndProc = proc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = ::LoadCursorW(nullptr, IDC_IBEAM);
  wc.lpszClassName = kNumberEditClass;
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

TNumberEdit::TNumberEdit() : NumberEditModel(static_cast<NumberEditView&>(*this)) {}

TNumberEdit::~TNumberEdit() {
  if (hwnd_) ::DestroyWindow(hwnd_);
  if (measureDc_) ::SelectObject(measureDc_.get(), measureDcFont_);  // the font is not ours to delete
}

bool TNumberEdit::Create(HWND parent, int id, int left, int top, int width, int height) {
  if (hwnd_ || !RegisterNumberEditClass(&ForwardingWindowProc<TNumberEdit>)) return false;
  DWORD style = 0, exStyle = 0;
  WindowStyles(style, exStyle);
  ::CreateWindowExW(exStyle, kNumberEditClass, nullptr, style | WS_CHILD | WS_VISIBLE | WS_TABSTOP, left, top,
                    width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                    ::GetModuleHandleW(nullptr), this);
  return hwnd_ != nullptr;
}

void TNumberEdit::WindowStyles(DWORD& style, DWORD& exStyle) const {
  style = 0;
  exStyle = 0;
  if (BorderStyle() == TBorderStyle::bsSingle) {
    if (Ctl3D()) {
      exStyle = WS_EX_CLIENTEDGE;
    } else {
      style = WS_BORDER;
    }
  }
}

LRESULT TNumberEdit::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      ParentAssigned();
      return 0;
    case WM_ERASEBKGND:
      Erase(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PAINT: {
      PaintScope paint(hwnd_);
      Paint(paint.Dc());
      return 0;
    }
    case WM_PRINTCLIENT: {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      if (lParam & PRF_ERASEBKGND) Erase(dc);
      Paint(dc);
      return 0;
    }
    case WM_SIZE:
      WMSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_SETFONT:
      FontChanged(reinterpret_cast<HFONT>(wParam));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_ENABLE:
      Invalidate();
      return 0;
    case WM_SETFOCUS:
      WMSetFocus(reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_KILLFOCUS:
      WMKillFocus(reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_GETDLGCODE:
      return WMGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
      if (KeyDown(static_cast<std::uint16_t>(wParam), ShiftNow())) return 0;
      break;
    case WM_CHAR:
      KeyPress(static_cast<char16_t>(wParam));
      return 0;
    case WM_IME_CHAR:
      // Full-width digits and signs from the input method become ASCII
      // before the default processing turns them into WM_CHAR.
      return ::DefWindowProcW(hwnd_, msg, HalfWidthNumberChar(static_cast<char16_t>(wParam)), lParam);
    case WM_LBUTTONDOWN:
      MouseDown(MouseButton::Left);
      ::SetCapture(hwnd_);
      return 0;
    case WM_LBUTTONDBLCLK:
      DblClick();
      MouseDown(MouseButton::Left);
      ::SetCapture(hwnd_);
      return 0;
    case WM_LBUTTONUP:
      if (::GetCapture() == hwnd_) ::ReleaseCapture();
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      MouseDown(MouseButton::Right);
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      MouseDown(MouseButton::Middle);
      break;
    case WM_MOUSEMOVE:
      MouseMove(GET_X_LPARAM(lParam), (wParam & MK_LBUTTON) != 0);
      return 0;
    case WM_SETTEXT:
      SetText(lParam ? FromWide(reinterpret_cast<const wchar_t*>(lParam)) : Text());
      return TRUE;
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(GetText().size());
    case WM_GETTEXT: {
      // The value text, so that GetDlgItemInt and screen readers see the number.
      if (wParam == 0 || lParam == 0) return 0;
      const size_t n = std::min<size_t>(GetText().size(), wParam - 1);
      auto* out = reinterpret_cast<wchar_t*>(lParam);
      std::memcpy(out, GetText().data(), n * sizeof(wchar_t));
      out[n] = L'\0';
      return static_cast<LRESULT>(n);
    }
    default:
      break;
  }
  return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

// --- properties -----------------------------------------------------------------

void TNumberEdit::SetFont(HFONT font) {
  if (hwnd_) {
    ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  } else {
    font_ = font;
  }
}

void TNumberEdit::SetColor(TColor value) {
  color_ = value;
  Invalidate();
}

void TNumberEdit::SetFontColor(TColor value) {
  fontColor_ = value;
  Invalidate();
}

void TNumberEdit::SetDisabledColor(TColor value) {
  disabledColor_ = value;
  Invalidate();
}

bool TNumberEdit::Enabled() const { return hwnd_ && ::IsWindowEnabled(hwnd_); }

void TNumberEdit::SetEnabled(bool value) {
  if (hwnd_) ::EnableWindow(hwnd_, value ? TRUE : FALSE);
}

// --- the view of the model ------------------------------------------------------

int TNumberEdit::MeasureText(TextView text) {
  if (!measureDc_ || text.empty()) return 0;
  RECT r{0, 0, 0, 0};
  ::DrawTextW(measureDc_.get(), reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &r,
              kTextFlags | DT_CALCRECT);
  return r.right - r.left;
}

void TNumberEdit::Invalidate() {
  if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TNumberEdit::UpdateCaret() {
  if (!Focused()) return;
  const PixelPoint p = CaretPos();
  ::ShowCaret(hwnd_);
  ::SetCaretPos(p.x, p.y);
  const HIMC imc = ::ImmGetContext(hwnd_);
  if (!imc) return;
  COMPOSITIONFORM form{};
  form.dwStyle = CFS_POINT;
  form.ptCurrentPos = {p.x, p.y};
  ::ImmSetCompositionWindow(imc, &form);
  LOGFONTW lf{};
  if (font_ && ::GetObjectW(font_, sizeof(lf), &lf) == sizeof(lf)) ::ImmSetCompositionFontW(imc, &lf);
  ::ImmReleaseContext(hwnd_, imc);
}

void TNumberEdit::SetClientHeight(int height) {
  if (!hwnd_) return;
  RECT window{}, client{};
  ::GetWindowRect(hwnd_, &window);
  ::GetClientRect(hwnd_, &client);
  const int frame = (window.bottom - window.top) - (client.bottom - client.top);
  ::SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left, height + frame,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TNumberEdit::UpdateWindowStyle() {
  if (!hwnd_) return;
  DWORD style = 0, exStyle = 0;
  WindowStyles(style, exStyle);
  const LONG_PTR oldStyle = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  const LONG_PTR oldExStyle = ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  ::SetWindowLongPtrW(hwnd_, GWL_STYLE, (oldStyle & ~static_cast<LONG_PTR>(WS_BORDER)) | style);
  ::SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, (oldExStyle & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE)) | exStyle);
  ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TNumberEdit::MessageBeep() { ::MessageBeep(0); }

void TNumberEdit::Change() {
  if (OnChange) OnChange(*this);
}

void TNumberEdit::NextControl() {
  if (!hwnd_) return;
  const HWND form = ::GetAncestor(hwnd_, GA_ROOT);
  if (form && form != hwnd_) ::PostMessageW(form, WM_NEXTDLGCTL, 0, 0);
}

bool TNumberEdit::ForegroundIsOwnThread() {
  const HWND foreground = ::GetForegroundWindow();
  return foreground && ::GetWindowThreadProcessId(foreground, nullptr) == ::GetCurrentThreadId();
}

void TNumberEdit::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}

bool TNumberEdit::ReadClipboardText(Text& text) {
  if (!::IsClipboardFormatAvailable(CF_UNICODETEXT)) return false;
  ClipboardSession clipboard(hwnd_);
  if (!clipboard.IsOpen()) return false;
  const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);  // owned by the clipboard
  if (!data) return false;
  const GlobalLockGuard lock(data);
  if (!lock.Data()) return false;
  // Up to the first NUL, and never past the end of the block.
  const auto* units = static_cast<const wchar_t*>(lock.Data());
  const size_t capacity = ::GlobalSize(data) / sizeof(wchar_t);
  size_t n = 0;
  while (n < capacity && units[n] != L'\0') ++n;
  text = FromWide(units, n);
  return true;
}

bool TNumberEdit::WriteClipboardText(const Text& text) {
  ClipboardSession clipboard(hwnd_);
  if (!clipboard.IsOpen() || !::EmptyClipboard()) return false;
  const size_t bytes = (text.size() + 1) * sizeof(char16_t);
  UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!block) return false;
  {
    const GlobalLockGuard lock(block.get());
    if (!lock.Data()) return false;
    std::memcpy(lock.Data(), text.c_str(), bytes);
  }
  if (!::SetClipboardData(CF_UNICODETEXT, block.get())) return false;
  block.release();  // the clipboard owns it now
  return true;
}

// --- window events ----------------------------------------------------------------

void TNumberEdit::ParentAssigned() {
  if (!measureDc_) {
    measureDc_.reset(::CreateCompatibleDC(nullptr));
    if (measureDc_) measureDcFont_ = ::GetCurrentObject(measureDc_.get(), OBJ_FONT);
  }
  HFONT font = font_;
  if (!font) font = reinterpret_cast<HFONT>(::SendMessageW(::GetParent(hwnd_), WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  font_ = font;
  if (measureDc_) ::SelectObject(measureDc_.get(), font_);
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  SetClientSize(client.right, client.bottom);
  MeasureFont();
  AdjustHeight();
  color_ = TColor::System(COLOR_WINDOW);
}

void TNumberEdit::MeasureFont() {
  RECT r{0, 0, 0, 0};
  if (measureDc_) ::DrawTextW(measureDc_.get(), L"M", 1, &r, kTextFlags | DT_CALCRECT);
  LOGFONTW lf{};
  const bool bold = font_ && ::GetObjectW(font_, sizeof(lf), &lf) == sizeof(lf) && lf.lfWeight >= FW_BOLD;
  SetFontMetrics(r.bottom - r.top, bold);
}

void TNumberEdit::FontChanged(HFONT font) {
  const bool focused = Focused();
  if (focused) DestroyEditCaret();
  font_ = font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (measureDc_) ::SelectObject(measureDc_.get(), font_);
  MeasureFont();
  AdjustHeight();
  if (focused) CreateEditCaret();
  Invalidate();
}

void TNumberEdit::WMSize(int width, int height) {
  SetClientSize(width, height);
  ::InvalidateRect(hwnd_, nullptr, TRUE);
  ::UpdateWindow(hwnd_);
  UpdateCaret();
}

bool TNumberEdit::Focused() const { return hwnd_ && ::GetFocus() == hwnd_; }

bool TNumberEdit::InSameForm(HWND other) const {
  return other && ::GetAncestor(other, GA_ROOT) == ::GetAncestor(hwnd_, GA_ROOT);
}

void TNumberEdit::CreateEditCaret() {
  caretCreated_ = ::CreateCaret(hwnd_, nullptr, CaretWidth(), FontHeight()) != FALSE;
  UpdateCaret();
}

void TNumberEdit::DestroyEditCaret() {
  if (!caretCreated_) return;
  ::HideCaret(hwnd_);
  ::DestroyCaret();
  caretCreated_ = false;
}

// Entering and leaving count only when the focus moves between controls of
// the form; a trip to another program leaves the field as it was.
void TNumberEdit::WMSetFocus(HWND from) {
  CreateEditCaret();
  if (!entered_ || (from != hwnd_ && InSameForm(from))) {
    entered_ = true;
    Enter();
  }
}

void TNumberEdit::WMKillFocus(HWND to) {
  DestroyEditCaret();
  if (InSameForm(to)) {
    entered_ = false;
    Exit();
  }
}

LRESULT TNumberEdit::WMGetDlgCode(const MSG* msg) const {
  unsigned code = DialogCode();
  // Tab still moves the focus in a dialog when every other key is ours.
  if ((code & DLGC_WANTALLKEYS) && msg && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) &&
      msg->wParam == VK_TAB) {
    code &= ~static_cast<unsigned>(DLGC_WANTALLKEYS);
  }
  return code;
}

unsigned TNumberEdit::ShiftNow() const {
  unsigned shift = ssNone;
  if (::GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
  if (::GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
  if (::GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  if (::GetKeyState(VK_LBUTTON) < 0) shift |= ssLeft;
  if (::GetKeyState(VK_RBUTTON) < 0) shift |= ssRight;
  if (::GetKeyState(VK_MBUTTON) < 0) shift |= ssMiddle;
  return shift;
}

// --- painting -----------------------------------------------------------------------

COLORREF TNumberEdit::Resolve(ColorRole role) const {
  switch (role) {
    case ColorRole::FontColor: return fontColor_.Resolve();
    case ColorRole::Color: return color_.Resolve();
    case ColorRole::HighlightText: return ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    case ColorRole::Highlight: return ::GetSysColor(COLOR_HIGHLIGHT);
    case ColorRole::DisabledColor: return disabledColor_.Resolve();
  }
  return color_.Resolve();
}

void TNumberEdit::Erase(HDC dc) {
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  ::SetDCBrushColor(dc, color_.Resolve());
  ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void TNumberEdit::Paint(HDC dc) {
  const PixelRect r = PaintRect();
  const PaintColors colors = ChoosePaintColors(::IsWindowEnabled(hwnd_) != FALSE, SelLength() != 0);
  RECT rect{r.left, r.top, r.right, r.bottom};
  const SelectedObject font(dc, font_);
  ::SetDCBrushColor(dc, Resolve(colors.background));
  ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, Resolve(colors.text));
  const Text& shown = ValText();
  ::DrawTextW(dc, reinterpret_cast<const wchar_t*>(shown.c_str()), static_cast<int>(shown.size()), &rect,
              kTextFlags | DT_CENTER);
}

}  // namespace velmora::win32
