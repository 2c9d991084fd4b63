// The numeric field behind TNumberEdit: its properties, the value text and
// the display text derived from it, the all-or-nothing selection, the
// one-step undo, and every edit the keyboard, the mouse and the clipboard
// make. The window it lives in is reached through NumberEditView.
#pragma once

#include <cstdint>

#include "core/number_text.h"
#include "core/text.h"

namespace velmora {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TVertAlignment { taTopJustify, taBottomJustify, taVCenter };
enum class TBorderStyle { bsNone, bsSingle };

// Modifier keys and mouse buttons held while a key goes down. A row of the
// key table applies only when the state is exactly the one it names.
enum ShiftState : unsigned {
  ssNone = 0,
  ssShift = 1u << 0,
  ssCtrl = 1u << 1,
  ssAlt = 1u << 2,
  ssLeft = 1u << 3,
  ssRight = 1u << 4,
  ssMiddle = 1u << 5,
};

// The virtual-key codes the key table names (the platform's own values).
namespace vk {
inline constexpr std::uint16_t Back = 0x08, Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24,
                               Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Delete = 0x2E,
                               A = 0x41, C = 0x43, V = 0x56, X = 0x58;
}

enum class MouseButton { Left, Right, Middle };

struct PixelPoint {
  int x = 0, y = 0;
};
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// How the text is painted: which colour the text and its background take.
enum class ColorRole { FontColor, Color, HighlightText, Highlight, DisabledColor };
struct PaintColors {
  ColorRole text;
  ColorRole background;
};
PaintColors ChoosePaintColors(bool enabled, bool selected);

// What the field needs from its window: each method is one platform call.
class NumberEditView {
 public:
  virtual ~NumberEditView() = default;
  // Width in pixels of `text` drawn as one line in the field's font.
  virtual int MeasureText(TextView text) = 0;
  virtual void Invalidate() = 0;
  // Places the caret (and the input method's composition window) at
  // CaretPos(); does nothing unless the field has the focus.
  virtual void UpdateCaret() = 0;
  // Sets the client height; the window answers with a new client size.
  virtual void SetClientHeight(int height) = 0;
  // Applies the window styles that BorderStyle and Ctl3D select.
  virtual void UpdateWindowStyle() = 0;
  virtual void MessageBeep() = 0;
  // The OnChange event.
  virtual void Change() = 0;
  // Moves the focus to the next control of the form (WM_NEXTDLGCTL).
  virtual void NextControl() = 0;
  // Does the foreground window belong to the field's own GUI thread?
  virtual bool ForegroundIsOwnThread() = 0;
  virtual void SetFocus() = 0;
  // Unicode text on the clipboard; false when there is none or it cannot be
  // read.
  virtual bool ReadClipboardText(Text& text) = 0;
  // Puts Unicode text on the clipboard; false when that failed.
  virtual bool WriteClipboardText(const Text& text) = 0;
};

class NumberEditModel {
 public:
  explicit NumberEditModel(NumberEditView& view);

  // Properties, with the side effects their change has on the field.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TVertAlignment VertAlignment() const { return vertAlignment_; }
  void SetVertAlignment(TVertAlignment value);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool value);
  int TopMargin() const { return topMargin_; }
  void SetTopMargin(int value);
  int BottomMargin() const { return bottomMargin_; }
  void SetBottomMargin(int value);
  int LeftMargin() const { return leftMargin_; }
  void SetLeftMargin(int value);
  int RightMargin() const { return rightMargin_; }
  void SetRightMargin(int value);
  int IntegerLength() const { return format_.IntegerLength; }
  void SetIntegerLength(int value);
  int DecimalLength() const { return format_.DecimalLength; }
  void SetDecimalLength(int value);
  bool Minus() const { return format_.Minus; }
  void SetMinus(bool value);
  bool Comma() const { return format_.Comma; }
  void SetComma(bool value);
  bool DecimalFixed() const { return format_.DecimalFixed; }
  void SetDecimalFixed(bool value);
  const Text& LeftMark() const { return format_.LeftMark; }
  void SetLeftMark(const Text& value);
  const Text& RightMark() const { return format_.RightMark; }
  void SetRightMark(const Text& value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  bool ErrorBeep() const { return errorBeep_; }
  void SetErrorBeep(bool value) { errorBeep_ = value; }
  bool ImageCopy() const { return imageCopy_; }
  void SetImageCopy(bool value) { imageCopy_ = value; }
  bool HideSelection() const { return hideSelection_; }
  void SetHideSelection(bool value) { hideSelection_ = value; }
  bool EnterFocusMove() const { return enterFocusMove_; }
  void SetEnterFocusMove(bool value) { enterFocusMove_ = value; }
  bool ArrowFocusMove() const { return arrowFocusMove_; }
  void SetArrowFocusMove(bool value) { arrowFocusMove_ = value; }

  // Text: the value text. Assigning filters it and strips leading zeros;
  // it raises no OnChange and leaves Modified, undo and selection alone.
  const Text& GetText() const { return FText; }
  void SetText(TextView value);

  const Text& ValText() const { return FValText; }
  int SelStart() const { return FSelStart; }
  int SelLength() const { return FSelLength; }
  bool CanUndo() const { return FCanUndo; }
  bool Modified() const { return FModified; }
  void SetModified(bool value) { FModified = value; }
  const NumberFormat& Format() const { return format_; }

  // The text functions with this field's properties.
  Text FormatText(TextView value) const { return velmora::FormatText(value, format_); }
  Text FilterText(TextView text) const { return velmora::FilterText(text, format_); }

  // Geometry. The window reports its client size and font; everything drawn
  // is placed from these.
  void SetClientSize(int width, int height);
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  // The height of "M" in the font, and whether the font is bold (a bold
  // font gets a 2-pixel caret).
  void SetFontMetrics(int fontHeight, bool bold);
  int FontHeight() const { return FFontHeight; }
  int CaretWidth() const { return FCaretWidth; }
  void AdjustHeight();

  int TextWidth(TextView value);
  int AvailableWidth() const;
  bool TextFits(TextView value);
  int CaretOffset(TextView value);
  // Where the display text starts (steps 2 and 3 of painting).
  PixelPoint TextOrigin();
  // The rectangle the display text is painted into; remembered for the
  // mouse.
  PixelRect PaintRect();
  const PixelRect& DrawRect() const { return FDrawRect; }
  PixelPoint CaretPos();

  // Public methods.
  void SelectAll();
  void ClearSelect();
  void Clear();
  void ClearSelection();
  void ClearUndo();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();

  // Input. KeyDown and KeyPress return true when they consumed the key.
  bool KeyDown(std::uint16_t key, unsigned shift);
  bool KeyPress(char16_t ch);
  void MouseDown(MouseButton button);
  void DblClick();
  void MouseMove(int x, bool leftButtonHeld);
  void Enter();
  void Exit();
  // WM_GETDLGCODE: arrows and characters, and every key with EnterFocusMove.
  unsigned DialogCode() const;

 private:
  void Shown();
  void Refilter();
  void Beep();
  void SaveUndo();
  void SwapUndo();
  bool HasSelection() const { return FSelLength != 0; }
  void InsertDigit(char16_t digit);
  void InsertDecimalPoint();
  void ToggleMinus();
  void DeleteLastChar();
  void LayoutChanged();
  void FormatChanged();

  NumberEditView& view_;

  TAlignment alignment_ = TAlignment::taRightJustify;
  TVertAlignment vertAlignment_ = TVertAlignment::taVCenter;
  bool autoSelect_ = true;
  bool autoSize_ = true;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  bool ctl3D_ = true;
  int topMargin_ = 2, bottomMargin_ = 2, leftMargin_ = 2, rightMargin_ = 2;
  NumberFormat format_;
  bool readOnly_ = false;
  bool errorBeep_ = true;
  bool imageCopy_ = false;
  bool hideSelection_ = true;
  bool enterFocusMove_ = false;
  bool arrowFocusMove_ = false;

  Text FText = u"0";
  Text FValText = u"0";
  int FSelStart = 0;
  int FSelLength = 0;
  Text UndoBuffer;
  bool FCanUndo = false;
  bool FModified = false;
  int FFontHeight = 0;
  int FCaretWidth = 1;
  PixelRect FDrawRect;
  bool DblClickFlag = false;

  int clientWidth_ = 121 - 4;
  int clientHeight_ = 20 - 4;
};

}  // namespace velmora
