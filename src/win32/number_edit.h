// TNumberEdit: a single-line field for a decimal number, painted entirely by
// itself (no platform edit control). The number's rules live in
// NumberEditModel; this class is its window: painting, caret, keyboard,
// mouse, focus and clipboard.
#pragma once

#include <windows.h>

#include <functional>

#include "core/number_edit_model.h"
#include "win32/unique_handle.h"

namespace velmora::win32 {

inline constexpr wchar_t kNumberEditClass[] = L"TNumberEdit";

// A colour that is either a system colour, looked up when it is painted, or
// a fixed one.
class TColor {
 public:
  static TColor System(int index) { return TColor(index, 0); }
  static TColor Rgb(COLORREF rgb) { return TColor(-1, rgb); }
  COLORREF Resolve() const { return systemIndex_ >= 0 ? ::GetSysColor(systemIndex_) : rgb_; }
  bool operator==(const TColor&) const = default;

 private:
  TColor(int index, COLORREF rgb) : systemIndex_(index), rgb_(rgb) {}
  int systemIndex_;
  COLORREF rgb_;
};

class TNumberEdit : private NumberEditView, public NumberEditModel {
 public:
  TNumberEdit();
  ~TNumberEdit() override;
  TNumberEdit(const TNumberEdit&) = delete;
  TNumberEdit& operator=(const TNumberEdit&) = delete;

  // Creates the child window (121 x 20 unless told otherwise). Like any
  // control that gets a parent, it takes the font, adjusts its height and
  // resets Color to the window colour; a colour assigned afterwards wins.
  bool Create(HWND parent, int id, int left, int top, int width = 121, int height = 20);
  HWND Handle() const { return hwnd_; }

  // The font is the parent's unless one is set; the field does not own it.
  void SetFont(HFONT font);
  HFONT Font() const { return font_; }
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor value);
  TColor DisabledColor() const { return disabledColor_; }
  void SetDisabledColor(TColor value);
  bool Enabled() const;
  void SetEnabled(bool value);

  std::function<void(TNumberEdit&)> OnChange;

 private:
  template <typename T>
  friend LRESULT CALLBACK ForwardingWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  // NumberEditView
  int MeasureText(TextView text) override;
  void Invalidate() override;
  void UpdateCaret() override;
  void SetClientHeight(int height) override;
  void UpdateWindowStyle() override;
  void MessageBeep() override;
  void Change() override;
  void NextControl() override;
  bool ForegroundIsOwnThread() override;
  void SetFocus() override;
  bool ReadClipboardText(Text& text) override;
  bool WriteClipboardText(const Text& text) override;

  void ParentAssigned();
  void FontChanged(HFONT font);
  void MeasureFont();
  void CreateEditCaret();
  void DestroyEditCaret();
  bool Focused() const;
  bool InSameForm(HWND other) const;
  void Erase(HDC dc);
  void Paint(HDC dc);
  COLORREF Resolve(ColorRole role) const;
  void WindowStyles(DWORD& style, DWORD& exStyle) const;
  unsigned ShiftNow() const;
  void WMSetFocus(HWND from);
  void WMKillFocus(HWND to);
  LRESULT WMGetDlgCode(const MSG* msg) const;
  void WMSize(int width, int height);

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  struct DeleteDcCloser {
    void operator()(HDC dc) const noexcept { ::DeleteDC(dc); }
  };
  UniqueHandle<HDC, DeleteDcCloser> measureDc_;  // a memory DC holding font_, for text widths
  HGDIOBJ measureDcFont_ = nullptr;  // the font it came with
  TColor color_ = TColor::System(COLOR_WINDOW);
  TColor fontColor_ = TColor::System(COLOR_WINDOWTEXT);
  TColor disabledColor_ = TColor::System(COLOR_GRAYTEXT);
  bool caretCreated_ = false;
  bool entered_ = false;  // focus came in and has not moved to another control of the form
};

}  // namespace velmora::win32
