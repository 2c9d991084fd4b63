// TNumberEdit on a real dialog of this thread: real messages, real focus,
// the real clipboard and real painting.
#include <gtest/gtest.h>
#include <windows.h>
#include <imm.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "support.h"
#include "win32/number_edit.h"
#include "win32/wide.h"

namespace velmora::win32 {
namespace {

using namespace std::chrono_literals;

std::string U8(const Text& s) { return ToUtf8(s); }

INT_PTR CALLBACK FormProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// A modeless dialog of this thread: the form the fields live on.
class Form {
 public:
  Form() {
    struct alignas(4) Template {
      DLGTEMPLATE dialog;
      WORD menu, windowClass, title;
    } t{};
    // No caption: Wine leaves such popups to itself, so closing one need not wait for a window manager.
    t.dialog.style = WS_POPUP | WS_BORDER | WS_VISIBLE;
    t.dialog.x = 10;
    t.dialog.y = 10;
    t.dialog.cx = 260;
    t.dialog.cy = 120;
    hwnd_ = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), &t.dialog, nullptr, &FormProc, 0);
  }
  ~Form() {
    if (hwnd_) ::DestroyWindow(hwnd_);
  }
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  HWND Hwnd() const { return hwnd_; }

  // A field on the form, 121 x 20 at (10, y).
  std::unique_ptr<TNumberEdit> Field(int y, const Text& text = u"0", int width = 121) {
    auto f = std::make_unique<TNumberEdit>();
    f->Create(hwnd_, 100 + y, 10, y, width);
    f->SetText(text);
    return f;
  }

  // Dispatches what is queued, through the dialog manager as a message loop would.
  void Pump() {
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (!::IsDialogMessageW(hwnd_, &m)) {
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
      }
    }
  }
  template <typename Pred>
  bool PumpUntil(Pred done, std::chrono::milliseconds timeout = 15s) {
    return velmora::testing::WaitFor(
        [&] {
          Pump();
          return done();
        },
        timeout);
  }

 private:
  HWND hwnd_ = nullptr;
};

// Modifier keys held for as long as the object lives (the thread's key state,
// which the field reads with GetKeyState).
class HeldKeys {
 public:
  explicit HeldKeys(std::initializer_list<BYTE> keys) {
    ::GetKeyboardState(saved_);
    BYTE state[256];
    std::copy(std::begin(saved_), std::end(saved_), state);
    for (const BYTE k : keys) state[k] = 0x80;
    ::SetKeyboardState(state);
  }
  ~HeldKeys() { ::SetKeyboardState(saved_); }
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;

 private:
  BYTE saved_[256]{};
};

// One keystroke as the keyboard delivers it: key down, then its character
// (when it has one).
void Key(HWND h, UINT vk, wchar_t ch = 0) {
  if (vk) ::SendMessageW(h, WM_KEYDOWN, vk, 1);
  if (ch) ::SendMessageW(h, WM_CHAR, ch, 1);
}
void Ctrl(HWND h, UINT vk) {
  HeldKeys ctrl{VK_CONTROL};
  Key(h, vk, static_cast<wchar_t>(vk - 'A' + 1));
}
void TypeChars(HWND h, const std::wstring& chars) {
  for (const wchar_t c : chars) {
    const SHORT scan = ::VkKeyScanW(c);
    ::SendMessageW(h, WM_KEYDOWN, scan == -1 ? 0 : LOBYTE(scan), 1);
    ::SendMessageW(h, WM_CHAR, c, 1);
  }
}

// A key press queued like the keyboard's, for the message loop to translate.
void PostKey(HWND h, UINT vk) {
  const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
  ::PostMessageW(h, WM_KEYDOWN, vk, scan | 1);
  ::PostMessageW(h, WM_KEYUP, vk, scan | 1 | (1u << 30) | (1u << 31));
}

// Pixel width of one line of text in a font.
int WidthOf(HFONT font, const wchar_t* text) {
  const HDC dc = ::CreateCompatibleDC(nullptr);
  const HGDIOBJ old = ::SelectObject(dc, font);
  RECT r{0, 0, 0, 0};
  ::DrawTextW(dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return r.right - r.left;
}

class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) {
    open_ = velmora::testing::WaitFor([&] { return ::OpenClipboard(owner) != FALSE; }, 5s);
  }
  ~ClipboardSession() {
    if (open_) ::CloseClipboard();
  }
  bool open_ = false;
};

std::wstring ClipboardText() {
  ClipboardSession c(nullptr);
  if (!c.open_) return L"(not open)";
  const HANDLE h = ::GetClipboardData(CF_UNICODETEXT);
  if (!h) return L"(none)";
  const auto* p = static_cast<const wchar_t*>(::GlobalLock(h));
  std::wstring s = p ? p : L"(unlockable)";
  ::GlobalUnlock(h);
  return s;
}

void PutClipboardText(HWND owner, const std::wstring& s) {
  ClipboardSession c(owner);
  ASSERT_TRUE(c.open_);
  ASSERT_TRUE(::EmptyClipboard());
  const HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, (s.size() + 1) * sizeof(wchar_t));
  ASSERT_NE(h, nullptr);
  std::memcpy(::GlobalLock(h), s.c_str(), (s.size() + 1) * sizeof(wchar_t));
  ::GlobalUnlock(h);
  if (!::SetClipboardData(CF_UNICODETEXT, h)) ::GlobalFree(h);
}

// One form for the whole suite: Wine without a window manager takes two
// seconds to hide a top-level window.
class NumberEdit : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { form_ = new Form; }
  static void TearDownTestSuite() {
    delete form_;
    form_ = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(form_->Hwnd(), nullptr);
    ::SetFocus(form_->Hwnd());
  }
  static Form* form_;
};
Form* NumberEdit::form_ = nullptr;

TEST_F(NumberEdit, KeystrokesChangeTheTextAsTheTablesSay) {
  struct Stroke { UINT vk; wchar_t ch; };
  struct Case { const char* name; Text start; std::vector<Stroke> strokes; Text value, display; int changes; };
  const Stroke back{VK_BACK, L'\b'}, del{VK_DELETE, 0};
  const Case cases[] = {
      {"digits", u"0", {{'1', L'1'}, {'2', L'2'}, {'3', L'3'}, {'4', L'4'}}, u"1234", u"1,234", 4},
      {"decimals", u"12", {{VK_OEM_PERIOD, L'.'}, {'5', L'5'}, {'6', L'6'}, {'7', L'7'}, {'8', L'8'}},
       u"12.567", u"12.567", 4},
      {"sign on zero", u"0", {{VK_OEM_MINUS, L'-'}}, u"-1", u"-1", 1},
      {"sign off", u"-1", {{VK_OEM_MINUS, L'-'}}, u"1", u"1", 1},
      {"backspace", u"12.5", {back}, u"12", u"12", 1},
      {"delete", u"-5", {del}, u"0", u"0", 1},
      {"home, end and arrows change nothing", u"77", {{VK_HOME, 0}, {VK_END, 0}, {VK_LEFT, 0}, {VK_UP, 0}},
       u"77", u"77", 0},
      {"letters beep and change nothing", u"5", {{'A', L'a'}, {VK_SPACE, L' '}, {VK_ESCAPE, 27}}, u"5", u"5", 0},
      {"full-width input", u"0", {{0, L'１'}, {0, L'２'}, {0, L'．'}, {0, L'５'}, {0, L'－'}}, u"-12.5",
       u"-12.5", 5},
  };
  Form& form = *form_;
  for (const auto& c : cases) {
    auto f = form.Field(10, c.start);
    int changes = 0;
    f->OnChange = [&](TNumberEdit&) { ++changes; };
    for (const auto& s : c.strokes) Key(f->Handle(), s.vk, s.ch);
    EXPECT_EQ(U8(f->GetText()), U8(c.value)) << c.name;
    EXPECT_EQ(U8(f->ValText()), U8(c.display)) << c.name;
    EXPECT_EQ(changes, c.changes) << c.name;
  }
}

TEST_F(NumberEdit, ModifierKeysSelectCopyCutAndPaste) {
  Form& form = *form_;
  auto f = form.Field(10, u"1234");
  const HWND h = f->Handle();
  {
    HeldKeys shift{VK_SHIFT};
    Key(h, VK_LEFT);
  }
  EXPECT_EQ(f->SelLength(), 5);
  Key(h, VK_HOME);
  EXPECT_EQ(f->SelLength(), 0);
  {
    HeldKeys ctrlShift{VK_CONTROL, VK_SHIFT};  // not exactly Ctrl: no row applies
    Key(h, 'A');
  }
  EXPECT_EQ(f->SelLength(), 0);
  Ctrl(h, 'A');
  EXPECT_EQ(f->SelLength(), 5);
  Ctrl(h, 'X');
  EXPECT_EQ(ClipboardText(), L"1234");
  EXPECT_EQ(U8(f->GetText()), "0");
  TypeChars(h, L"5");
  Ctrl(h, 'V');  // pasting appends
  EXPECT_EQ(U8(f->GetText()), "51234");
  Ctrl(h, 'A');
  Ctrl(h, 'V');  // over a selection it replaces
  EXPECT_EQ(U8(f->GetText()), "1234");
}

TEST_F(NumberEdit, ImeCharactersArriveAsAsciiCharacters) {
  Form& form = *form_;
  auto f = form.Field(10);
  ::SendMessageW(f->Handle(), WM_IME_CHAR, L'７', 1);
  ::SendMessageW(f->Handle(), WM_IME_CHAR, L'，', 1);
  ::SendMessageW(f->Handle(), WM_IME_CHAR, L'０', 1);
  EXPECT_TRUE(form.PumpUntil([&] { return f->GetText() == u"70"; })) << U8(f->GetText());
}

TEST_F(NumberEdit, ReadOnlyIgnoresEditsButCopies) {
  Form& form = *form_;
  auto f = form.Field(10, u"1234.5");
  f->SetReadOnly(true);
  int changes = 0;
  f->OnChange = [&](TNumberEdit&) { ++changes; };
  const HWND h = f->Handle();
  PutClipboardText(form.Hwnd(), L"99");
  TypeChars(h, L"7-.\b");
  Key(h, VK_DELETE);
  Ctrl(h, 'V');
  Ctrl(h, 'A');
  Ctrl(h, 'X');
  EXPECT_EQ(U8(f->GetText()), "1234.5");
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(f->SelLength(), 7);
  EXPECT_EQ(ClipboardText(), L"99");  // Ctrl+X did not cut
  Ctrl(h, 'C');
  EXPECT_EQ(ClipboardText(), L"1234.5");
  Key(h, VK_NEXT);
  EXPECT_EQ(f->SelLength(), 0);
}

TEST_F(NumberEdit, ClipboardRoundTripFollowsImageCopy) {
  struct Case { bool imageCopy; std::wstring onClipboard; };
  const Case cases[] = {{false, L"1234.5"}, {true, L"1,234.5"}};
  Form& form = *form_;
  for (const auto& c : cases) {
    auto from = form.Field(10, u"1234.5");
    auto to = form.Field(40, u"77");
    ASSERT_EQ(U8(from->ValText()), "1,234.5");
    from->SetImageCopy(c.imageCopy);
    from->SelectAll();
    from->CopyToClipboard();
    EXPECT_EQ(ClipboardText(), c.onClipboard);
    to->SelectAll();
    to->PasteFromClipboard();
    EXPECT_EQ(U8(to->GetText()), "1234.5");
    EXPECT_EQ(U8(to->ValText()), "1,234.5");
  }
  auto f = form.Field(70, u"5");
  PutClipboardText(form.Hwnd(), L"１，０００");  // full width, as copied from a Japanese document
  f->PasteFromClipboard();
  EXPECT_EQ(U8(f->GetText()), "51000");
}

TEST_F(NumberEdit, ABusyClipboardLosesNothing) {
  Form& form = *form_;
  auto f = form.Field(10, u"1234");
  PutClipboardText(form.Hwnd(), L"before");
  // Another thread holds the clipboard open while the field tries to cut.
  const HANDLE opened = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    const bool open = ::OpenClipboard(nullptr) != FALSE;
    ::SetEvent(opened);
    ::WaitForSingleObject(release, 30000);
    if (open) ::CloseClipboard();
  });
  ASSERT_EQ(::WaitForSingleObject(opened, 15000), WAIT_OBJECT_0);
  int changes = 0;
  f->OnChange = [&](TNumberEdit&) { ++changes; };
  f->SelectAll();
  f->CutToClipboard();
  EXPECT_EQ(U8(f->GetText()), "1234");
  EXPECT_EQ(changes, 0);
  ::SetEvent(release);
  holder.join();
  ::CloseHandle(opened);
  ::CloseHandle(release);
  EXPECT_EQ(ClipboardText(), L"before");
  f->CutToClipboard();
  EXPECT_EQ(ClipboardText(), L"1234");
  EXPECT_EQ(U8(f->GetText()), "0");
}

TEST_F(NumberEdit, DialogCode) {
  Form& form = *form_;
  auto f = form.Field(10);
  EXPECT_EQ(::SendMessageW(f->Handle(), WM_GETDLGCODE, 0, 0), 0x81);
  f->SetEnterFocusMove(true);
  EXPECT_EQ(::SendMessageW(f->Handle(), WM_GETDLGCODE, 0, 0), 0x85);
  MSG enter{f->Handle(), WM_KEYDOWN, VK_RETURN, 0};
  EXPECT_EQ(::SendMessageW(f->Handle(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)), 0x85);
  MSG tab{f->Handle(), WM_KEYDOWN, VK_TAB, 0};  // Tab is left to the dialog
  EXPECT_EQ(::SendMessageW(f->Handle(), WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)), 0x81);
}

TEST_F(NumberEdit, FocusMovesThroughTheForm) {
  Form& form = *form_;
  auto first = form.Field(10, u"12");
  auto second = form.Field(40, u"34");
  ::SetFocus(first->Handle());
  ASSERT_EQ(::GetFocus(), first->Handle());
  EXPECT_EQ(first->SelLength(), 2);  // AutoSelect on entering
  first->SetText(u"-");

  // Tab goes through the dialog manager to the next field.
  PostKey(first->Handle(), VK_TAB);
  ASSERT_TRUE(form.PumpUntil([&] { return ::GetFocus() == second->Handle(); }));
  EXPECT_EQ(U8(first->GetText()), "0");  // leaving with a lone sign
  EXPECT_EQ(first->SelLength(), 0);      // HideSelection
  EXPECT_EQ(second->SelLength(), 2);

  // Up and Down move on with ArrowFocusMove; Enter with EnterFocusMove.
  second->SetArrowFocusMove(true);
  PostKey(second->Handle(), VK_DOWN);
  ASSERT_TRUE(form.PumpUntil([&] { return ::GetFocus() == first->Handle(); }));
  first->SetEnterFocusMove(true);
  PostKey(first->Handle(), VK_RETURN);  // the dialog manager translates it into WM_CHAR
  ASSERT_TRUE(form.PumpUntil([&] { return ::GetFocus() == second->Handle(); }));
  second->SetArrowFocusMove(false);
  PostKey(second->Handle(), VK_UP);
  form.PumpUntil([] { return false; }, 300ms);  // give a wrong move the chance to happen
  EXPECT_EQ(::GetFocus(), second->Handle());
}

TEST_F(NumberEdit, MouseSelects) {
  Form& form = *form_;
  auto f = form.Field(10, u"1234");
  const HWND h = f->Handle();
  ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(f->SelLength(), 0);
  ::SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(f->SelLength(), 5);
  ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(f->SelLength(), 0);
  ::UpdateWindow(h);  // painting places the text
  ASSERT_GT(f->DrawRect().right, f->DrawRect().left);
  ::SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(f->DrawRect().left - 1, 5));
  EXPECT_EQ(f->SelLength(), 0);
  ::SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(f->DrawRect().right, 5));  // dragging over the text
  ::SendMessageW(h, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(f->SelLength(), 5);
}

// The field painted into a bitmap of its client size.
class Snapshot {
 public:
  explicit Snapshot(HWND h) {
    RECT r{};
    ::GetClientRect(h, &r);
    width = r.right;
    height = r.bottom;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const HBITMAP bmp = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = ::SelectObject(dc, bmp);
    ::SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    ::GdiFlush();
    const auto* px = static_cast<const DWORD*>(bits);
    pixels.assign(px, px + width * height);
    ::SelectObject(dc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
  }
  // DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
  static DWORD Of(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
  int Count(COLORREF c) const {
    int n = 0;
    for (const DWORD p : pixels) n += p == Of(c);
    return n;
  }
  // The bounding box of the pixels of colour c; empty when there are none.
  RECT Box(COLORREF c) const {
    RECT r{width, height, 0, 0};
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (pixels[y * width + x] == Of(c)) {
          r.left = std::min<LONG>(r.left, x);
          r.top = std::min<LONG>(r.top, y);
          r.right = std::max<LONG>(r.right, x + 1);
          r.bottom = std::max<LONG>(r.bottom, y + 1);
        }
    return r;
  }
  int width = 0, height = 0;
  std::vector<DWORD> pixels;
};

TEST_F(NumberEdit, PaintsTheSelectionWhereTheAlignmentsPutTheText) {
  Form& form = *form_;
  auto f = form.Field(10, u"-1234.5", 150);
  f->SetAutoSize(false);
  ::SetWindowPos(f->Handle(), nullptr, 0, 0, 150, 40, SWP_NOMOVE | SWP_NOZORDER);
  const int cw = f->ClientWidth(), ch = f->ClientHeight();
  ASSERT_EQ(ch, 36);
  const int w = f->TextWidth(f->GetText()), fh = f->FontHeight();
  ASSERT_GT(w, 20);
  struct Case { TAlignment h; TVertAlignment v; int x, y; };
  const Case cases[] = {
      {TAlignment::taRightJustify, TVertAlignment::taVCenter, cw - w - 2 - 1, (ch - fh - 4) / 2 + 2},
      {TAlignment::taLeftJustify, TVertAlignment::taTopJustify, 2, 2},
      {TAlignment::taCenter, TVertAlignment::taBottomJustify, (cw - 4) / 2 + 2 - w / 2 - 1, ch - fh - 2},
  };
  f->SelectAll();
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  for (const auto& c : cases) {
    f->SetAlignment(c.h);
    f->SetVertAlignment(c.v);
    const RECT box = Snapshot(f->Handle()).Box(highlight);
    EXPECT_EQ(box.left, c.x);
    EXPECT_EQ(box.top, c.y);
    EXPECT_EQ(box.right, c.x + w);
    EXPECT_EQ(box.bottom, c.y + fh);
    EXPECT_GT(Snapshot(f->Handle()).Count(::GetSysColor(COLOR_HIGHLIGHTTEXT)), 0);
  }
  f->ClearSelect();
  EXPECT_EQ(Snapshot(f->Handle()).Count(highlight), 0);
}

TEST_F(NumberEdit, DisabledTextTakesTheDisabledColour) {
  Form& form = *form_;
  auto f = form.Field(10, u"4096");
  const COLORREF red = RGB(255, 0, 0), black = RGB(0, 0, 0);
  f->SetFontColor(TColor::Rgb(black));
  f->SetDisabledColor(TColor::Rgb(red));
  f->SelectAll();
  EXPECT_EQ(Snapshot(f->Handle()).Count(red), 0);
  f->SetEnabled(false);
  const Snapshot disabled(f->Handle());
  EXPECT_GT(disabled.Count(red), 0);
  EXPECT_EQ(disabled.Count(black), 0);
  EXPECT_EQ(disabled.Count(::GetSysColor(COLOR_HIGHLIGHT)), 0);  // no selection shown while disabled
  f->SetColor(TColor::Rgb(RGB(0, 0, 255)));
  EXPECT_EQ(Snapshot(f->Handle()).pixels.front(), Snapshot::Of(RGB(0, 0, 255)));
}

TEST_F(NumberEdit, HeightFollowsTheFontAndMargins) {
  Form& form = *form_;
  auto f = form.Field(10);
  RECT r{};
  ::GetClientRect(f->Handle(), &r);
  EXPECT_EQ(r.bottom, f->FontHeight() + 4);
  EXPECT_GT(f->FontHeight(), 8);
  f->SetTopMargin(6);
  ::GetClientRect(f->Handle(), &r);
  EXPECT_EQ(r.bottom, f->FontHeight() + 8);

  LOGFONTW lf{};
  lf.lfHeight = -24;
  lf.lfWeight = FW_BOLD;
  lf.lfCharSet = DEFAULT_CHARSET;
  const HFONT big = ::CreateFontIndirectW(&lf);
  f->SetFont(big);
  EXPECT_GE(f->FontHeight(), 24);
  EXPECT_EQ(f->CaretWidth(), 2);
  ::GetClientRect(f->Handle(), &r);
  EXPECT_EQ(r.bottom, f->FontHeight() + 8);

  // The frame: a client edge, a plain border, or none.
  RECT w{};
  ::GetWindowRect(f->Handle(), &w);
  EXPECT_EQ((w.right - w.left) - r.right, 4);
  EXPECT_NE(::GetWindowLongPtrW(f->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  f->SetCtl3D(false);
  EXPECT_NE(::GetWindowLongPtrW(f->Handle(), GWL_STYLE) & WS_BORDER, 0);
  EXPECT_EQ(::GetWindowLongPtrW(f->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  f->SetBorderStyle(TBorderStyle::bsNone);
  ::GetWindowRect(f->Handle(), &w);
  ::GetClientRect(f->Handle(), &r);
  EXPECT_EQ(w.right - w.left, r.right);
  EXPECT_EQ(r.bottom, f->FontHeight() + 8);
  f.reset();
  ::DeleteObject(big);
}

TEST_F(NumberEdit, CaretStandsAfterTheTypedDigits) {
  Form& form = *form_;
  auto f = form.Field(10, u"12.5");
  f->SetDecimalFixed(true);  // shows "12.500"; the caret goes after "12.5"
  LOGFONTW lf{};
  lf.lfHeight = -16;
  lf.lfWeight = FW_BOLD;
  lf.lfCharSet = DEFAULT_CHARSET;
  const HFONT bold = ::CreateFontIndirectW(&lf);
  f->SetFont(bold);
  ::SetFocus(f->Handle());
  ASSERT_EQ(::GetFocus(), f->Handle());
  POINT p{};
  ASSERT_TRUE(::GetCaretPos(&p));
  const PixelPoint expected = f->CaretPos();
  EXPECT_EQ(p.x, expected.x);
  EXPECT_EQ(p.y, expected.y);
  EXPECT_EQ(expected.x, f->TextOrigin().x + WidthOf(bold, L"12") + WidthOf(bold, L".5"));
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(::GetGUIThreadInfo(::GetCurrentThreadId(), &info));
  EXPECT_EQ(info.hwndCaret, f->Handle());
  EXPECT_EQ(info.rcCaret.right - info.rcCaret.left, 2);  // bold
  EXPECT_EQ(info.rcCaret.bottom - info.rcCaret.top, f->FontHeight());

  Key(f->Handle(), VK_END);  // entering selected everything; keep the value
  TypeChars(f->Handle(), L"7");
  ASSERT_EQ(U8(f->GetText()), "12.57");
  ASSERT_TRUE(::GetCaretPos(&p));
  EXPECT_EQ(p.x, f->CaretPos().x);
  EXPECT_GT(p.x, expected.x);

  // The input method's composition window follows the caret.
  const HIMC imc = ::ImmGetContext(f->Handle());
  ASSERT_NE(imc, nullptr);
  COMPOSITIONFORM cf{};
  EXPECT_TRUE(::ImmGetCompositionWindow(imc, &cf));
  EXPECT_EQ(cf.dwStyle, static_cast<DWORD>(CFS_POINT));
  EXPECT_EQ(cf.ptCurrentPos.x, p.x);
  EXPECT_EQ(cf.ptCurrentPos.y, p.y);
  LOGFONTW compositionFont{};
  EXPECT_TRUE(::ImmGetCompositionFontW(imc, &compositionFont));
  EXPECT_EQ(compositionFont.lfHeight, -16);
  ::ImmReleaseContext(f->Handle(), imc);
  auto other = form.Field(40);
  ::SetFocus(other->Handle());
  EXPECT_FALSE(::GetGUIThreadInfo(::GetCurrentThreadId(), &info) && info.hwndCaret == f->Handle());
  f.reset();
  ::DeleteObject(bold);
}

TEST_F(NumberEdit, WindowTextIsTheValue) {
  Form& form = *form_;
  auto f = form.Field(10);
  ::SetDlgItemInt(form.Hwnd(), 110, 123456, TRUE);
  EXPECT_EQ(U8(f->ValText()), "123,456");
  BOOL ok = FALSE;
  EXPECT_EQ(::GetDlgItemInt(form.Hwnd(), 110, &ok, TRUE), 123456u);
  EXPECT_TRUE(ok);
  EXPECT_EQ(velmora::testing::TitleOf(f->Handle()), L"123456");
}

TEST_F(NumberEdit, OutlivingItsWindowIsSafe) {
  const HWND panel = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 60, form_->Hwnd(),
                                       nullptr, nullptr, nullptr);
  ASSERT_NE(panel, nullptr);
  auto f = std::make_unique<TNumberEdit>();
  ASSERT_TRUE(f->Create(panel, 1, 5, 5));
  f->SetText(u"5");
  ::DestroyWindow(panel);  // the parent takes the field's window with it
  EXPECT_EQ(f->Handle(), nullptr);
  f->SetText(u"6");
  EXPECT_EQ(U8(f->ValText()), "6");
}

}  // namespace
}  // namespace velmora::win32
